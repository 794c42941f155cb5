#pragma once

// A search builds and frees the rows of a whole period, up to hundreds of
// thousands of records and tens of megabytes at once. By default the C
// library hands such blocks back to the system when they are freed, and the
// next search pays again for every page it touches. Called once at start-up,
// before the first search: freed memory up to a period's size is kept in the
// process for the next one.
void KeepFreedMemoryForReuse();
