<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>Dialogs</name>
    <message>
        <source>%1 already exists.<byte value="xd"/>
Do you want to replace it?</source>
        <translation>%1 ist bereits vorhanden.<byte value="xd"/>
Möchten Sie die Datei ersetzen?</translation>
    </message>
</context>
<context>
    <name>ErrorReport</name>
    <message>
        <source>An unexpected error occurred.</source>
        <translation>Ein unerwarteter Fehler ist aufgetreten.</translation>
    </message>
</context>
<context>
    <name>PeriodOutput</name>
    <message>
        <source>SUCCESS!<byte value="xd"/>
<byte value="xd"/>
%1</source>
        <translation>ERFOLGREICH!<byte value="xd"/>
<byte value="xd"/>
%1</translation>
    </message>
    <message>
        <source>PNG image (%1)</source>
        <translation>PNG-Bild (%1)</translation>
    </message>
    <message>
        <source>SVG drawing (%1)</source>
        <translation>SVG-Zeichnung (%1)</translation>
    </message>
    <message>
        <source>Income: %1    Expenses: %2    Net Income: %3</source>
        <translation>Einnahmen: %1    Ausgaben: %2    Saldo: %3</translation>
    </message>
    <message>
        <source>Excel Workbook (*.xlsx)</source>
        <translation>Excel-Arbeitsmappe (*.xlsx)</translation>
    </message>
    <message>
        <source>CSV (*.csv)</source>
        <translation>CSV (*.csv)</translation>
    </message>
</context>
<context>
    <name>ProgramFiles</name>
    <message>
        <source>Ledgerly&apos;s file &quot;%1&quot; is missing: it is neither in &quot;%2&quot; nor in &quot;%3&quot;. Please reinstall Ledgerly.</source>
        <translation>Die Datei „%1“ von Ledgerly fehlt: Sie ist weder in „%2“ noch in „%3“. Bitte installieren Sie Ledgerly neu.</translation>
    </message>
</context>
<context>
    <name>Statement</name>
    <message>
        <source>The file is empty.</source>
        <translation>Die Datei ist leer.</translation>
    </message>
    <message>
        <source>The file is not a statement: it holds binary data, not text.</source>
        <translation>Die Datei ist kein Kontoauszug: Sie enthält Binärdaten, keinen Text.</translation>
    </message>
    <message>
        <source>Cannot open “%1”: %2</source>
        <translation>„%1“ kann nicht geöffnet werden: %2</translation>
    </message>
    <message>
        <source>“%1” is too large for a statement (more than %2 MB).</source>
        <translation>„%1“ ist zu groß für einen Kontoauszug (mehr als %2 MB).</translation>
    </message>
    <message>
        <source>“%1” is too large for a statement.</source>
        <translation>„%1“ ist zu groß für einen Kontoauszug.</translation>
    </message>
    <message>
        <source>Cannot read “%1”: %2</source>
        <translation>„%1“ kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>This statement holds investment transactions, which Ledgerly does not import.</source>
        <translation>Dieser Kontoauszug enthält Wertpapierumsätze, die Ledgerly nicht importiert.</translation>
    </message>
    <message>
        <source>The statement has no entries.</source>
        <translation>Der Kontoauszug enthält keine Umsätze.</translation>
    </message>
</context>
<context>
    <name>TBiffWorkbook</name>
    <message>
        <source>The template workbook is damaged: %1.</source>
        <translation>Die Vorlage-Arbeitsmappe ist beschädigt: %1.</translation>
    </message>
    <message>
        <source>the shared string table ends early</source>
        <translation>die Tabelle der gemeinsamen Texte endet zu früh</translation>
    </message>
    <message>
        <source>a shared string ends early</source>
        <translation>ein gemeinsamer Text endet zu früh</translation>
    </message>
    <message>
        <source>a shared string is split inside a character</source>
        <translation>ein gemeinsamer Text ist innerhalb eines Zeichens geteilt</translation>
    </message>
    <message>
        <source>a record runs past the end of the stream</source>
        <translation>ein Datensatz reicht über das Ende des Datenstroms hinaus</translation>
    </message>
    <message>
        <source>The template is an Excel 2.x-4.0 file; only Excel 97-2003 workbooks can be filled.</source>
        <translation>Die Vorlage ist eine Excel-2.x-4.0-Datei; nur Excel-97-2003-Arbeitsmappen können gefüllt werden.</translation>
    </message>
    <message>
        <source>The template is not an Excel 97-2003 workbook.</source>
        <translation>Die Vorlage ist keine Excel-97-2003-Arbeitsmappe.</translation>
    </message>
    <message>
        <source>The template is an Excel 5.0/95 workbook; only Excel 97-2003 workbooks can be filled. Save it in the Excel 97-2003 format.</source>
        <translation>Die Vorlage ist eine Excel-5.0/95-Arbeitsmappe; nur Excel-97-2003-Arbeitsmappen können gefüllt werden. Speichern Sie sie im Format Excel 97-2003.</translation>
    </message>
    <message>
        <source>The template is a single sheet, not an Excel 97-2003 workbook.</source>
        <translation>Die Vorlage ist ein einzelnes Blatt, keine Excel-97-2003-Arbeitsmappe.</translation>
    </message>
    <message>
        <source>the last sheet has no end</source>
        <translation>das letzte Blatt hat kein Ende</translation>
    </message>
    <message>
        <source>The template workbook is protected with a password; use a workbook without one.</source>
        <translation>Die Vorlage-Arbeitsmappe ist mit einem Passwort geschützt; verwenden Sie eine Arbeitsmappe ohne Passwort.</translation>
    </message>
    <message>
        <source>a sheet of the workbook cannot be found</source>
        <translation>ein Blatt der Arbeitsmappe ist nicht auffindbar</translation>
    </message>
    <message>
        <source>Too many rows for one worksheet: an Excel 97-2003 sheet holds %L1 rows, and this export needs %L2. Export a shorter period.</source>
        <translation>Zu viele Zeilen für ein Tabellenblatt: Ein Excel-97-2003-Blatt fasst %L1 Zeilen, dieser Export braucht %L2. Exportieren Sie einen kürzeren Zeitraum.</translation>
    </message>
    <message>
        <source>Column %1 is outside the worksheet.</source>
        <translation>Spalte %1 liegt außerhalb des Tabellenblatts.</translation>
    </message>
    <message>
        <source>A text of %L1 characters does not fit a worksheet cell (at most %L2). Shorten it.</source>
        <translation>Ein Text mit %L1 Zeichen passt in keine Tabellenzelle (höchstens %L2). Kürzen Sie ihn.</translation>
    </message>
    <message>
        <source>the sheet &quot;%1&quot; has no DIMENSIONS record</source>
        <translation>das Blatt „%1“ hat keinen DIMENSIONS-Datensatz</translation>
    </message>
</context>
<context>
    <name>TBookStep</name>
    <message>
        <source>Save of 1 expense</source>
        <translation>Speichern von 1 Ausgabe</translation>
    </message>
    <message>
        <source>Save of %1 expenses</source>
        <translation>Speichern von %1 Ausgaben</translation>
    </message>
    <message>
        <source>Save of 1 income</source>
        <translation>Speichern von 1 Einnahme</translation>
    </message>
    <message>
        <source>Save of %1 incomes</source>
        <translation>Speichern von %1 Einnahmen</translation>
    </message>
    <message>
        <source>Import of 1 expense</source>
        <translation>Import von 1 Ausgabe</translation>
    </message>
    <message>
        <source>Import of %1 expenses</source>
        <translation>Import von %1 Ausgaben</translation>
    </message>
    <message>
        <source>Import of 1 income</source>
        <translation>Import von 1 Einnahme</translation>
    </message>
    <message>
        <source>Import of %1 incomes</source>
        <translation>Import von %1 Einnahmen</translation>
    </message>
</context>
<context>
    <name>TBudgetsPanel</name>
    <message>
        <source>Expense</source>
        <translation>Ausgaben</translation>
    </message>
    <message>
        <source>Income</source>
        <translation>Einnahmen</translation>
    </message>
    <message>
        <source>Category</source>
        <translation>Kategorie</translation>
    </message>
    <message>
        <source>Budget</source>
        <translation>Budget</translation>
    </message>
    <message>
        <source>Spent</source>
        <translation>Ausgegeben</translation>
    </message>
    <message>
        <source>Left</source>
        <translation>Übrig</translation>
    </message>
    <message>
        <source>Spent of Budget</source>
        <translation>Verbrauch</translation>
    </message>
    <message>
        <source>(Without a budget)</source>
        <translation>(Ohne Budget)</translation>
    </message>
    <message>
        <source>Budget: %1    Spent: %2    Left: %3</source>
        <translation>Budget: %1    Ausgegeben: %2    Übrig: %3</translation>
    </message>
</context>
<context>
    <name>TBudgetsStep</name>
    <message>
        <source>Change of the budgets</source>
        <translation>Ändern der Budgets</translation>
    </message>
</context>
<context>
    <name>TCategoriesPanel</name>
    <message>
        <source>&amp;More Info</source>
        <translation>&amp;Details</translation>
    </message>
    <message>
        <source>&amp;Export...</source>
        <translation>&amp;Export...</translation>
    </message>
    <message>
        <source>&amp;Print</source>
        <translation>&amp;Drucken</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Art</translation>
    </message>
    <message>
        <source>Category</source>
        <translation>Kategorie</translation>
    </message>
    <message>
        <source>Qty</source>
        <translation>Anzahl</translation>
    </message>
    <message>
        <source>In</source>
        <translation>Einnahmen</translation>
    </message>
    <message>
        <source>Out</source>
        <translation>Ausgaben</translation>
    </message>
    <message>
        <source>Export to XLS</source>
        <translation>Als XLS exportieren</translation>
    </message>
    <message>
        <source>Export to HTML</source>
        <translation>Als HTML exportieren</translation>
    </message>
    <message>
        <source>Qty: %1  Total: %2</source>
        <translation>Anzahl: %1  Summe: %2</translation>
    </message>
    <message>
        <source>Export for Spreadsheets...</source>
        <translation>Für Tabellenkalkulation exportieren...</translation>
    </message>
    <message>
        <source>Rename...</source>
        <translation>Umbenennen...</translation>
    </message>
    <message>
        <source>Rename Category</source>
        <translation>Kategorie umbenennen</translation>
    </message>
    <message>
        <source>New name of the category %1:</source>
        <translation>Neuer Name der Kategorie %1:</translation>
    </message>
    <message>
        <source>%1 has %2 and %3 has %4. Merge %1 into %3?</source>
        <translation>%1 hat %2 und %3 hat %4. %1 mit %3 zusammenführen?</translation>
    </message>
    <message>
        <source>1 record</source>
        <translation>1 Buchung</translation>
    </message>
    <message>
        <source>%1 records</source>
        <translation>%1 Buchungen</translation>
    </message>
</context>
<context>
    <name>TCategoryListStep</name>
    <message>
        <source>Save of the income categories</source>
        <translation>Speichern der Einnahmekategorien</translation>
    </message>
    <message>
        <source>Save of the expense categories</source>
        <translation>Speichern der Ausgabekategorien</translation>
    </message>
</context>
<context>
    <name>TChartsPanel</name>
    <message>
        <source>Expenses</source>
        <translation>Ausgaben</translation>
    </message>
    <message>
        <source>Income</source>
        <translation>Einnahmen</translation>
    </message>
    <message>
        <source>&amp;Save...</source>
        <translation>&amp;Speichern...</translation>
    </message>
    <message>
        <source>&amp;Print</source>
        <translation>&amp;Drucken</translation>
    </message>
    <message>
        <source>Search a period to see its charts.</source>
        <translation>Suchen Sie einen Zeitraum, um seine Grafiken zu sehen.</translation>
    </message>
    <message>
        <source>There are no records from %1 to %2.</source>
        <translation>Vom %1 bis %2 gibt es keine Einträge.</translation>
    </message>
</context>
<context>
    <name>TChartsPicture</name>
    <message>
        <source>The charts could not be made into a PNG image.</source>
        <translation>Aus den Grafiken konnte kein PNG-Bild erstellt werden.</translation>
    </message>
    <message>
        <source>The charts could not be made into an SVG drawing.</source>
        <translation>Aus den Grafiken konnte keine SVG-Zeichnung erstellt werden.</translation>
    </message>
</context>
<context>
    <name>TCheckedFile</name>
    <message>
        <source>Free some space on its disk and try again.</source>
        <translation>Schaffen Sie Platz auf ihrem Datenträger und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>Make its folder writable for you and try again.</source>
        <translation>Machen Sie ihren Ordner für sich beschreibbar und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>Try again; if it fails again, choose another place for it.</source>
        <translation>Versuchen Sie es erneut; scheitert es wieder, wählen Sie einen anderen Ort dafür.</translation>
    </message>
    <message>
        <source>the file is already closed</source>
        <translation>die Datei ist bereits geschlossen</translation>
    </message>
    <message>
        <source>Cannot write &quot;%1&quot;: %2. %3</source>
        <translation>„%1“ kann nicht geschrieben werden: %2. %3</translation>
    </message>
</context>
<context>
    <name>TCompositeReport</name>
    <message>
        <source>The printout has no pages.</source>
        <translation>Der Ausdruck hat keine Seiten.</translation>
    </message>
    <message>
        <source>The page range %1 to %2 lies outside the printout&apos;s %3 pages.</source>
        <translation>Der Seitenbereich %1 bis %2 liegt außerhalb der %3 Seiten des Ausdrucks.</translation>
    </message>
    <message>
        <source>The printer could not be started. Check that it is installed and ready, then print again.</source>
        <translation>Der Drucker konnte nicht gestartet werden. Prüfen Sie, ob er eingerichtet und bereit ist, und drucken Sie erneut.</translation>
    </message>
    <message>
        <source>The printer did not take the next page.</source>
        <translation>Der Drucker hat die nächste Seite nicht angenommen.</translation>
    </message>
    <message>
        <source>The printer reported an error; the printout may be incomplete.</source>
        <translation>Der Drucker hat einen Fehler gemeldet; der Ausdruck ist möglicherweise unvollständig.</translation>
    </message>
</context>
<context>
    <name>TCsvReader</name>
    <message>
        <source>Not a statement Ledgerly can read (CSV, OFX or QIF): the file has no column of amounts.</source>
        <translation>Kein Kontoauszug, den Ledgerly lesen kann (CSV, OFX oder QIF): Die Datei hat keine Spalte mit Beträgen.</translation>
    </message>
    <message>
        <source>Not a statement Ledgerly can read (CSV, OFX or QIF): the file has no column of dates.</source>
        <translation>Kein Kontoauszug, den Ledgerly lesen kann (CSV, OFX oder QIF): Die Datei hat keine Spalte mit Datumsangaben.</translation>
    </message>
    <message>
        <source>The file holds no entries, only the names of its columns.</source>
        <translation>Die Datei enthält keine Umsätze, nur die Namen ihrer Spalten.</translation>
    </message>
    <message>
        <source>Column %1</source>
        <translation>Spalte %1</translation>
    </message>
    <message>
        <source>Most amounts in %1 are positive, and are read as money in; if the file writes money out as positive amounts (as credit-card statements often do), say so.</source>
        <translation>Die meisten Beträge in %1 sind positiv und werden als Einnahmen gelesen; schreibt die Datei Ausgaben als positive Beträge (wie es Kreditkartenabrechnungen oft tun), kreuzen Sie „Ausgaben ohne Minuszeichen“ an.</translation>
    </message>
    <message>
        <source>Which of %1 and %2 holds money out cannot be told from the data; %1 was taken as money out.</source>
        <translation>Ob %1 oder %2 die Ausgaben enthält, lässt sich aus den Daten nicht erkennen; %1 wurde als Ausgaben genommen.</translation>
    </message>
    <message>
        <source>Several columns hold amounts; %1 was taken.</source>
        <translation>Mehrere Spalten enthalten Beträge; %1 wurde genommen.</translation>
    </message>
    <message>
        <source>Every date fits %1; choose the order of the dates.</source>
        <translation>Jedes Datum passt zu %1; wählen Sie die Reihenfolge der Datumsangaben.</translation>
    </message>
    <message>
        <source> and </source>
        <translation> und </translation>
    </message>
    <message>
        <source>a field is longer than %L1 characters</source>
        <translation>ein Feld ist länger als %L1 Zeichen</translation>
    </message>
    <message>
        <source>no date</source>
        <translation>kein Datum</translation>
    </message>
    <message>
        <source>%1 is not a %2 date</source>
        <translation>%1 ist kein Datum der Form %2</translation>
    </message>
    <message>
        <source>no amount</source>
        <translation>kein Betrag</translation>
    </message>
    <message>
        <source>both money out (%1) and money in (%2) hold an amount</source>
        <translation>sowohl Soll (%1) als auch Haben (%2) enthalten einen Betrag</translation>
    </message>
    <message>
        <source>the amount is zero</source>
        <translation>der Betrag ist null</translation>
    </message>
    <message>
        <source>Choose the column of dates.</source>
        <translation>Wählen Sie die Spalte mit den Datumsangaben.</translation>
    </message>
    <message>
        <source>Choose the column of amounts, or the columns of money out and in.</source>
        <translation>Wählen Sie die Spalte mit den Beträgen oder die Spalten für Soll und Haben.</translation>
    </message>
    <message>
        <source>Choose the order of day, month and year in the dates.</source>
        <translation>Wählen Sie die Reihenfolge von Tag, Monat und Jahr in den Datumsangaben.</translation>
    </message>
</context>
<context>
    <name>TDataFile</name>
    <message>
        <source>was made by a newer Ledgerly (data format version %1); this Ledgerly reads data format version %2 and older</source>
        <translation>wurde von einem neueren Ledgerly erstellt (Datenformat Version %1); dieses Ledgerly liest Datenformat Version %2 und älter</translation>
    </message>
    <message>
        <source>does not exist</source>
        <translation>existiert nicht</translation>
    </message>
    <message>
        <source>is not complete on its own: &quot;%1&quot; beside it holds part of its content. Open it once with the program that wrote it, or choose another file</source>
        <translation>ist allein nicht vollständig: „%1“ daneben enthält einen Teil ihres Inhalts. Öffnen Sie sie einmal mit dem Programm, das sie geschrieben hat, oder wählen Sie eine andere Datei</translation>
    </message>
    <message>
        <source>is damaged (%1)</source>
        <translation>ist beschädigt (%1)</translation>
    </message>
    <message>
        <source>is not a Ledgerly data file: it has no table &quot;%1&quot;</source>
        <translation>ist keine Ledgerly-Datendatei: Ihr fehlt die Tabelle „%1“</translation>
    </message>
    <message>
        <source>is not a Ledgerly data file: its table &quot;%1&quot; has no column &quot;%2&quot;</source>
        <translation>ist keine Ledgerly-Datendatei: Ihrer Tabelle „%1“ fehlt die Spalte „%2“</translation>
    </message>
    <message>
        <source>is not a Ledgerly data file (%1)</source>
        <translation>ist keine Ledgerly-Datendatei (%1)</translation>
    </message>
    <message>
        <source>another Ledgerly window kept it busy. Try again in a moment.</source>
        <translation>ein anderes Ledgerly-Fenster hat sie belegt. Versuchen Sie es gleich noch einmal.</translation>
    </message>
    <message>
        <source>the disk is full (%1). Free some space on the disk that holds &quot;%2&quot; and try again.</source>
        <translation>der Datenträger ist voll (%1). Schaffen Sie Platz auf dem Datenträger mit „%2“ und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>the file is damaged (%1). Restore a backup of it with Restore from Backup in the menu.</source>
        <translation>die Datei ist beschädigt (%1). Stellen Sie eine Sicherung mit „Aus Sicherung wiederherstellen“ im Menü wieder her.</translation>
    </message>
    <message>
        <source>%1. Try again.</source>
        <translation>%1. Versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; could not be copied to &quot;%2&quot;: %3</source>
        <translation>„%1“ konnte nicht nach „%2“ kopiert werden: %3</translation>
    </message>
    <message>
        <source>The copy of &quot;%1&quot; made for &quot;%2&quot; %3, so it was not kept.</source>
        <translation>Die Kopie von „%1“ für „%2“ %3, daher wurde sie nicht behalten.</translation>
    </message>
    <message>
        <source>The folder for Ledgerly&apos;s data file could not be made in the application-data folder &quot;%1&quot;. Make that folder writable for you and start Ledgerly again.</source>
        <translation>Der Ordner für die Datendatei von Ledgerly konnte im Anwendungsdatenordner „%1“ nicht angelegt werden. Machen Sie diesen Ordner für sich beschreibbar und starten Sie Ledgerly erneut.</translation>
    </message>
    <message>
        <source>The backup folder &quot;%1&quot; could not be made: %2. Make the folder of the data file writable for you (or free some space on its disk) and try again.</source>
        <translation>Der Sicherungsordner „%1“ konnte nicht angelegt werden: %2. Machen Sie den Ordner der Datendatei für sich beschreibbar (oder schaffen Sie Platz auf seinem Datenträger) und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>The backup folder &quot;%1&quot; could not be made: a file of that name is in the way. Move that file elsewhere and try again.</source>
        <translation>Der Sicherungsordner „%1“ konnte nicht angelegt werden: Eine Datei dieses Namens ist im Weg. Verschieben Sie diese Datei an einen anderen Ort und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>The disk that holds &quot;%1&quot; is full: free some space on it (delete files you no longer need, empty the trash) so that Ledgerly can save your changes and make its daily backup.</source>
        <translation>Der Datenträger mit „%1“ ist voll: Schaffen Sie dort Platz (löschen Sie nicht mehr benötigte Dateien, leeren Sie den Papierkorb), damit Ledgerly Ihre Änderungen speichern und die tägliche Sicherung anlegen kann.</translation>
    </message>
    <message>
        <source>Ledgerly cannot create its data file &quot;%1&quot;: %2</source>
        <translation>Ledgerly kann seine Datendatei „%1“ nicht anlegen: %2</translation>
    </message>
    <message>
        <source>Ledgerly cannot use its data file &quot;%1&quot;: it %2. Start the newer Ledgerly, or restore a backup made by this one.</source>
        <translation>Ledgerly kann seine Datendatei „%1“ nicht verwenden: Sie %2. Starten Sie das neuere Ledgerly oder stellen Sie eine Sicherung wieder her, die mit diesem erstellt wurde.</translation>
    </message>
    <message>
        <source>Ledgerly brings its data file &quot;%1&quot; to data format version %2 and keeps a copy of it first, but the copy could not be made: %3

Nothing was changed.</source>
        <translation>Ledgerly bringt seine Datendatei „%1“ auf Datenformat Version %2 und legt vorher eine Kopie an, doch die Kopie konnte nicht erstellt werden: %3

Es wurde nichts geändert.</translation>
    </message>
    <message>
        <source>Cannot write &quot;%1&quot;: it is the data file itself. Choose another name for the backup.</source>
        <translation>„%1“ kann nicht geschrieben werden: Das ist die Datendatei selbst. Wählen Sie einen anderen Namen für die Sicherung.</translation>
    </message>
    <message>
        <source>The backup &quot;%1&quot; was not restored: %2

The current data is kept.</source>
        <translation>Die Sicherung „%1“ wurde nicht wiederhergestellt: %2

Die aktuellen Daten bleiben erhalten.</translation>
    </message>
    <message>
        <source>the file %1.</source>
        <translation>die Datei %1.</translation>
    </message>
    <message>
        <source>it is the data file itself.</source>
        <translation>sie ist die Datendatei selbst.</translation>
    </message>
    <message>
        <source>a copy of the current data file could not be kept first. %1</source>
        <translation>von der aktuellen Datendatei konnte vorher keine Kopie angelegt werden. %1</translation>
    </message>
    <message>
        <source>another Ledgerly window is using the data file &quot;%1&quot;. Close it and try again.</source>
        <translation>ein anderes Ledgerly-Fenster verwendet die Datendatei „%1“. Schließen Sie es und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>After restoring the backup &quot;%1&quot;, the data file &quot;%2&quot; %3.

The data file as it was before is kept as &quot;%4&quot;; restore that file to go back.</source>
        <translation>Nach dem Wiederherstellen der Sicherung „%1“: Die Datendatei „%2“ %3.

Die Datendatei im vorherigen Zustand ist als „%4“ erhalten; stellen Sie diese Datei wieder her, um zurückzukehren.</translation>
    </message>
    <message>
        <source>The file &quot;%1&quot; %2.</source>
        <translation>Die Datei „%1“ %2.</translation>
    </message>
</context>
<context>
    <name>TDbMan</name>
    <message>
        <source>The password library could not be initialised.</source>
        <translation>Die Passwort-Bibliothek konnte nicht gestartet werden.</translation>
    </message>
    <message>
        <source>Out of memory while protecting the password.</source>
        <translation>Zu wenig Arbeitsspeicher beim Schützen des Passworts.</translation>
    </message>
    <message>
        <source>pass</source>
        <translation>Durchlauf</translation>
    </message>
    <message>
        <source>passes</source>
        <translation>Durchläufe</translation>
    </message>
    <message>
        <source>lane</source>
        <translation>Spur</translation>
    </message>
    <message>
        <source>lanes</source>
        <translation>Spuren</translation>
    </message>
    <message>
        <source>The stored password of &quot;%1&quot; asks for %2, more than Ledgerly ever uses (%3), so it is not checked. The data file &quot;%4&quot; may have been changed by another program; restore a backup of it.</source>
        <translation>Das gespeicherte Passwort von „%1“ verlangt %2, mehr als Ledgerly je verwendet (%3), und wird daher nicht geprüft. Die Datendatei „%4“ wurde möglicherweise von einem anderen Programm verändert; stellen Sie eine Sicherung davon wieder her.</translation>
    </message>
    <message>
        <source>A record needs a date between 01/01/0001 and 12/31/9999.</source>
        <translation>Ein Eintrag braucht ein Datum zwischen 01/01/0001 und 12/31/9999.</translation>
    </message>
    <message>
        <source>The amounts of this period add up to more than Ledgerly can show.</source>
        <translation>Die Beträge dieses Zeitraums ergeben zusammen mehr, als Ledgerly anzeigen kann.</translation>
    </message>
    <message>
        <source>%1 is not an amount Ledgerly keeps; an amount lies between 0.01 and 999999999999.99.</source>
        <translation>%1 ist kein Betrag, den Ledgerly speichert; ein Betrag liegt zwischen 0.01 und 999999999999.99.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a category list; it must be out or in.</source>
        <translation>„%1“ ist keine Kategorienliste; sie muss „out“ oder „in“ sein.</translation>
    </message>
    <message>
        <source>%1 in another Ledgerly window; nothing was undone or redone. %2</source>
        <translation>%1 (in einem anderen Ledgerly-Fenster); es wurde nichts rückgängig gemacht oder wiederholt. %2</translation>
    </message>
    <message>
        <source>The %1 of %2 in &quot;%3&quot; on %4</source>
        <translation>Die %1 über %2 in „%3“ vom %4</translation>
    </message>
    <message>
        <source>income</source>
        <comment>a record</comment>
        <translation>Einnahme</translation>
    </message>
    <message>
        <source>expense</source>
        <comment>a record</comment>
        <translation>Ausgabe</translation>
    </message>
    <message>
        <source>Search again to see the records as they are now.</source>
        <translation>Suchen Sie erneut, um die Einträge in ihrem jetzigen Stand zu sehen.</translation>
    </message>
    <message>
        <source>income</source>
        <comment>a category list</comment>
        <translation>Einnahmen</translation>
    </message>
    <message>
        <source>expense</source>
        <comment>a category list</comment>
        <translation>Ausgaben</translation>
    </message>
    <message>
        <source>The %1 category list was changed</source>
        <translation>Die Kategorienliste der %1 wurde geändert</translation>
    </message>
    <message>
        <source>Open the list again to see it as it is now.</source>
        <translation>Öffnen Sie die Liste erneut, um sie in ihrem jetzigen Stand zu sehen.</translation>
    </message>
    <message>
        <source>Search again to see the categories as they are now.</source>
        <translation>Suchen Sie erneut, um die Kategorien in ihrem jetzigen Stand zu sehen.</translation>
    </message>
    <message>
        <source>A record of the category &quot;%1&quot; was changed or deleted</source>
        <translation>Ein Eintrag der Kategorie „%1“ wurde geändert oder gelöscht</translation>
    </message>
    <message>
        <source>The category rules of statement import were changed</source>
        <translation>Die Kategorieregeln des Kontoauszug-Imports wurden geändert</translation>
    </message>
    <message>
        <source>Find takes up to 64 words; type fewer words.</source>
        <translation>Die Suche nimmt bis zu 64 Wörter; geben Sie weniger Wörter ein.</translation>
    </message>
    <message>
        <source>There is no user &quot;%1&quot; (any more).</source>
        <translation>Es gibt (mehr) keinen Benutzer „%1“.</translation>
    </message>
    <message>
        <source>Wrong password for &quot;%1&quot;.</source>
        <translation>Falsches Passwort für „%1“.</translation>
    </message>
    <message>
        <source>The record to edit no longer exists. Search again to see the current records.</source>
        <translation>Der zu bearbeitende Eintrag existiert nicht mehr. Suchen Sie erneut, um die aktuellen Einträge zu sehen.</translation>
    </message>
    <message>
        <source>A bank profile needs a name.</source>
        <translation>Ein Bankprofil braucht einen Namen.</translation>
    </message>
    <message>
        <source> was changed or deleted</source>
        <translation> wurde geändert oder gelöscht</translation>
    </message>
    <message>
        <source> was stored again</source>
        <translation> wurde erneut gespeichert</translation>
    </message>
    <message>
        <source> was imported again</source>
        <translation> wurde erneut importiert</translation>
    </message>
    <message>
        <source>&quot;%1&quot; cannot be the name of a category: a name needs a letter or digit and is one line.</source>
        <translation>„%1“ kann kein Kategoriename sein: Ein Name braucht einen Buchstaben oder eine Ziffer und ist eine Zeile lang.</translation>
    </message>
    <message>
        <source>The recurring %1 of %2 in &quot;%3&quot;</source>
        <translation>Die wiederkehrende %1 über %2 in „%3“</translation>
    </message>
    <message>
        <source>The last date of a recurring entry (%1) lies before its first date (%2).</source>
        <translation>Das Enddatum einer wiederkehrenden Buchung (%1) liegt vor ihrem ersten Datum (%2).</translation>
    </message>
    <message>
        <source>The budgets were changed</source>
        <translation>Die Budgets wurden geändert</translation>
    </message>
    <message>
        <source>The recurring entries to book with this save are not in order (entry %1); nothing was saved.</source>
        <translation>Die mit diesem Speichern zu buchenden wiederkehrenden Buchungen sind nicht in Ordnung (Eintrag %1); es wurde nichts gespeichert.</translation>
    </message>
    <message>
        <source>Rows of recurring entries in this save were booked in another Ledgerly window meanwhile (or their entries changed there); nothing was saved. Take those rows out of the pending lists and save again.</source>
        <translation>Zeilen wiederkehrender Buchungen wurden inzwischen in einem anderen Ledgerly-Fenster gebucht (oder dort geändert); es wurde nichts gespeichert. Entfernen Sie diese Zeilen aus den offenen Listen und speichern Sie erneut.</translation>
    </message>
    <message>
        <source>Averages need at least one month.</source>
        <translation>Durchschnitte brauchen mindestens einen Monat.</translation>
    </message>
    <message>
        <source>The encryption library could not be initialised.</source>
        <translation>Die Verschlüsselungsbibliothek konnte nicht gestartet werden.</translation>
    </message>
    <message>
        <source>Out of memory while protecting a key.</source>
        <translation>Nicht genug Speicher, um einen Schlüssel zu schützen.</translation>
    </message>
    <message>
        <source>The key of this user in the data file &quot;%1&quot; is damaged, so the book cannot be opened. Restore a backup of the data file.</source>
        <translation>Der Schlüssel dieses Benutzers in der Datendatei „%1“ ist beschädigt, daher kann das Buch nicht geöffnet werden. Stellen Sie eine Sicherung der Datendatei wieder her.</translation>
    </message>
    <message>
        <source>The key of this user asks for %1 MiB and %2 passes, where Ledgerly uses %3 MiB and %4 passes, so it is not opened. The data file &quot;%5&quot; may have been changed by another program; restore a backup of it.</source>
        <translation>Der Schlüssel dieses Benutzers verlangt %1 MiB und %2 Durchläufe, Ledgerly verwendet %3 MiB und %4 Durchläufe; er wird daher nicht geöffnet. Die Datendatei „%5“ wurde womöglich von einem anderen Programm geändert; stellen Sie eine Sicherung davon wieder her.</translation>
    </message>
    <message>
        <source>Out of memory while opening the book&apos;s key.</source>
        <translation>Nicht genug Speicher, um den Schlüssel des Buchs zu öffnen.</translation>
    </message>
    <message>
        <source>The password of &quot;%1&quot; can be set only by that user, signed in: the book&apos;s key opens with the current password alone.</source>
        <translation>Das Passwort von „%1“ kann nur dieser Benutzer selbst setzen, wenn er angemeldet ist: Der Schlüssel des Buchs öffnet sich nur mit dem aktuellen Passwort.</translation>
    </message>
</context>
<context>
    <name>TDeleteStep</name>
    <message>
        <source>Delete of %1</source>
        <translation>Löschen von %1</translation>
    </message>
</context>
<context>
    <name>TEditStep</name>
    <message>
        <source>Edit of %1</source>
        <translation>Bearbeiten von %1</translation>
    </message>
</context>
<context>
    <name>TEntryPanel</name>
    <message>
        <source>Step 5. Click on the Add button.</source>
        <translation>Schritt 5. Auf „Hinzufügen“ klicken.</translation>
    </message>
    <message>
        <source>Step 6. Click on the Save Button.</source>
        <translation>Schritt 6. Auf „Speichern“ klicken.</translation>
    </message>
    <message>
        <source>Date:</source>
        <translation>Datum:</translation>
    </message>
    <message>
        <source>Category:</source>
        <translation>Kategorie:</translation>
    </message>
    <message>
        <source>Amount:</source>
        <translation>Betrag:</translation>
    </message>
    <message>
        <source>Notes:</source>
        <translation>Notiz:</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Bearbeiten</translation>
    </message>
    <message>
        <source>Calc</source>
        <translation>Rechner</translation>
    </message>
    <message>
        <source>&amp;Add</source>
        <translation>&amp;Hinzufügen</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Speichern</translation>
    </message>
    <message>
        <source>Food</source>
        <translation>Lebensmittel</translation>
    </message>
    <message>
        <source>Walmart</source>
        <translation>Supermarkt</translation>
    </message>
    <message>
        <source>Lottery</source>
        <translation>Lotto</translation>
    </message>
    <message>
        <source>Happy</source>
        <translation>Glück</translation>
    </message>
    <message>
        <source>Step 1. Date: %1.</source>
        <translation>Schritt 1. Datum: %1.</translation>
    </message>
    <message>
        <source>Step 2. Category: %1.</source>
        <translation>Schritt 2. Kategorie: %1.</translation>
    </message>
    <message>
        <source>Step 3. Amount: %1.</source>
        <translation>Schritt 3. Betrag: %1.</translation>
    </message>
    <message>
        <source>Step 4. Notes: %1.</source>
        <translation>Schritt 4. Notiz: %1.</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Art</translation>
    </message>
    <message>
        <source>Category</source>
        <translation>Kategorie</translation>
    </message>
    <message>
        <source>Amount</source>
        <translation>Betrag</translation>
    </message>
    <message>
        <source>Notes</source>
        <translation>Notiz</translation>
    </message>
    <message>
        <source>Total: %1</source>
        <translation>Summe: %1</translation>
    </message>
    <message>
        <source>Do you want to save?</source>
        <translation>Möchten Sie speichern?</translation>
    </message>
    <message>
        <source>

1 imported entry was left out: it had been imported meanwhile, in another Ledgerly window.</source>
        <translation>

1 importierter Eintrag wurde ausgelassen: Er war inzwischen in einem anderen Ledgerly-Fenster importiert worden.</translation>
    </message>
    <message>
        <source>

%1 imported entries were left out: they had been imported meanwhile, in another Ledgerly window.</source>
        <translation>

%1 importierte Einträge wurden ausgelassen: Sie waren inzwischen in einem anderen Ledgerly-Fenster importiert worden.</translation>
    </message>
    <message>
        <source>SUCCESS</source>
        <translation>ERFOLGREICH</translation>
    </message>
    <message>
        <source>SUCCESS!%1

To view transactions, click on the &quot;Transactions&quot; radio button.</source>
        <translation>ERFOLGREICH!%1

Um Ihre Buchungen zu sehen, wählen Sie oben „Buchungen“.</translation>
    </message>
    <message>
        <source>You want to edit it?</source>
        <translation>Möchten Sie den Eintrag bearbeiten?</translation>
    </message>
    <message>
        <source>You want to delete it?</source>
        <translation>Möchten Sie den Eintrag löschen?</translation>
    </message>
    <message>
        <source>SUCCESS!</source>
        <translation>ERFOLGREICH!</translation>
    </message>
    <message>
        <source>Resource &quot;%1&quot; not found.</source>
        <translation>Die Ressource „%1“ wurde nicht gefunden.</translation>
    </message>
    <message>
        <source>Repeat Every Month...</source>
        <translation>Jeden Monat wiederholen...</translation>
    </message>
    <message>
        <source>

%1 rows of recurring entries were taken out and not saved: another Ledgerly window had booked them meanwhile.</source>
        <translation>

%1 Zeilen wiederkehrender Buchungen wurden entfernt und nicht gespeichert: Ein anderes Ledgerly-Fenster hatte sie inzwischen gebucht.</translation>
    </message>
</context>
<context>
    <name>THtmlExport</name>
    <message>
        <source>The export template has %1 of the three sections it needs (page head, row pattern, page foot), separated by &quot;%2&quot;. Restore the template file that came with Ledgerly.</source>
        <translation>Die Exportvorlage hat %1 der drei nötigen Abschnitte (Seitenkopf, Zeilenmuster, Seitenfuß), getrennt durch „%2“. Stellen Sie die mit Ledgerly gelieferte Vorlagendatei wieder her.</translation>
    </message>
    <message>
        <source>Cannot read the export template &quot;%1&quot;: %2. Restore the template file that came with Ledgerly.</source>
        <translation>Die Exportvorlage „%1“ kann nicht gelesen werden: %2. Stellen Sie die mit Ledgerly gelieferte Vorlagendatei wieder her.</translation>
    </message>
    <message>
        <source>Cannot read the export template &quot;%1&quot;: %2.</source>
        <translation>Die Exportvorlage „%1“ kann nicht gelesen werden: %2.</translation>
    </message>
    <message>
        <source>%1

Template: %2</source>
        <translation>%1

Vorlage: %2</translation>
    </message>
    <message>
        <source>%1. Choose a folder you can write to.</source>
        <translation>%1. Wählen Sie einen Ordner, in den Sie schreiben dürfen.</translation>
    </message>
</context>
<context>
    <name>TImportRowsModel</name>
    <message>
        <source>Chosen</source>
        <translation>Gewählt</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Datei</translation>
    </message>
    <message>
        <source>Rule</source>
        <translation>Regel</translation>
    </message>
    <message>
        <source>History</source>
        <translation>Verlauf</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Keine</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Art</translation>
    </message>
    <message>
        <source>Category</source>
        <translation>Kategorie</translation>
    </message>
    <message>
        <source>From</source>
        <translation>Quelle</translation>
    </message>
    <message>
        <source>Amount</source>
        <translation>Betrag</translation>
    </message>
    <message>
        <source>Notes</source>
        <translation>Notiz</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>Duplicate: imported before</source>
        <translation>Doppelt: schon importiert</translation>
    </message>
    <message>
        <source>Duplicate: repeats line %1</source>
        <translation>Doppelt: wiederholt Zeile %1</translation>
    </message>
    <message>
        <source>Duplicate: %1 %2 %3 %4</source>
        <translation>Doppelt: %1 %2 %3 %4</translation>
    </message>
    <message>
        <source>pending</source>
        <translation>offen</translation>
    </message>
    <message>
        <source>stored</source>
        <translation>gespeichert</translation>
    </message>
    <message>
        <source>Choose a category</source>
        <translation>Kategorie wählen</translation>
    </message>
    <message>
        <source>New</source>
        <translation>Neu</translation>
    </message>
    <message>
        <source>Income</source>
        <comment>a statement line</comment>
        <translation>Eingang</translation>
    </message>
    <message>
        <source>Expense</source>
        <comment>a statement line</comment>
        <translation>Ausgang</translation>
    </message>
</context>
<context>
    <name>TMoneyText</name>
    <message>
        <source>%1 is not an amount</source>
        <translation>%1 ist kein Betrag</translation>
    </message>
    <message>
        <source>%1 is too large</source>
        <translation>%1 ist zu groß</translation>
    </message>
    <message>
        <source>%1 has more than two decimal places</source>
        <translation>%1 hat mehr als zwei Nachkommastellen</translation>
    </message>
</context>
<context>
    <name>TOfxReader</name>
    <message>
        <source>the bank corrects an earlier entry (%1 of FITID %2); check that entry by hand</source>
        <translation>die Bank berichtigt einen früheren Umsatz (%1 zu FITID %2); prüfen Sie diesen Umsatz von Hand</translation>
    </message>
    <message>
        <source>the entry has no DTPOSTED date</source>
        <translation>der Umsatz hat kein DTPOSTED-Datum</translation>
    </message>
    <message>
        <source>%1 is not a date</source>
        <translation>%1 ist kein Datum</translation>
    </message>
    <message>
        <source>the entry has no TRNAMT amount</source>
        <translation>der Umsatz hat keinen TRNAMT-Betrag</translation>
    </message>
    <message>
        <source>the amount is zero</source>
        <translation>der Betrag ist null</translation>
    </message>
    <message>
        <source>The OFX file is damaged near line %1: %2. Download the statement from the bank again.</source>
        <translation>Die OFX-Datei ist nahe Zeile %1 beschädigt: %2. Laden Sie den Kontoauszug erneut von der Bank herunter.</translation>
    </message>
    <message>
        <source>the tag %1 is cut off</source>
        <translation>das Tag %1 ist abgeschnitten</translation>
    </message>
    <message>
        <source>it has no &lt;OFX&gt; element</source>
        <translation>sie hat kein &lt;OFX&gt;-Element</translation>
    </message>
    <message>
        <source>it ends inside its list of entries, cut short</source>
        <translation>sie endet mitten in ihrer Liste der Umsätze, abgeschnitten</translation>
    </message>
    <message>
        <source>1 investment transaction was (buys, sells, income) not read; Ledgerly imports bank entries only</source>
        <translation>1 Wertpapierumsatz (Kauf, Verkauf, Ertrag) wurde nicht gelesen; Ledgerly importiert nur Bankumsätze</translation>
    </message>
    <message>
        <source>%1 investment transactions were (buys, sells, income) not read; Ledgerly imports bank entries only</source>
        <translation>%1 Wertpapierumsätze (Käufe, Verkäufe, Erträge) wurden nicht gelesen; Ledgerly importiert nur Bankumsätze</translation>
    </message>
</context>
<context>
    <name>TOleStorage</name>
    <message>
        <source>unknown error</source>
        <translation>unbekannter Fehler</translation>
    </message>
    <message>
        <source>The file is not an Excel 97-2003 workbook (%1).</source>
        <translation>Die Datei ist keine Excel-97-2003-Arbeitsmappe (%1).</translation>
    </message>
    <message>
        <source>Cannot write the workbook container.</source>
        <translation>Der Container der Arbeitsmappe kann nicht geschrieben werden.</translation>
    </message>
    <message>
        <source>Cannot write the workbook container (%1).</source>
        <translation>Der Container der Arbeitsmappe kann nicht geschrieben werden (%1).</translation>
    </message>
    <message>
        <source>The template workbook is damaged: a stream of its container cannot be read.</source>
        <translation>Die Vorlage-Arbeitsmappe ist beschädigt: Ein Datenstrom ihres Containers kann nicht gelesen werden.</translation>
    </message>
    <message>
        <source>The template workbook is damaged: an entry of its container cannot be read.</source>
        <translation>Die Vorlage-Arbeitsmappe ist beschädigt: Ein Eintrag ihres Containers kann nicht gelesen werden.</translation>
    </message>
    <message>
        <source>The file has no &quot;%1&quot; stream.</source>
        <translation>Die Datei hat keinen Datenstrom „%1“.</translation>
    </message>
    <message>
        <source>The &quot;%1&quot; stream cannot be read.</source>
        <translation>Der Datenstrom „%1“ kann nicht gelesen werden.</translation>
    </message>
</context>
<context>
    <name>TPeriodCharts</name>
    <message>
        <source>... %1 more</source>
        <translation>... %1 weitere</translation>
    </message>
    <message>
        <source>Income</source>
        <translation>Einnahmen</translation>
    </message>
    <message>
        <source>Expenses</source>
        <translation>Ausgaben</translation>
    </message>
    <message>
        <source>Net Income</source>
        <translation>Saldo</translation>
    </message>
    <message>
        <source>Other</source>
        <comment>the slice of the small categories</comment>
        <translation>Sonstige</translation>
    </message>
    <message>
        <source>%1
Income: %2
Expenses: %3
Net Income: %4</source>
        <translation>%1
Einnahmen: %2
Ausgaben: %3
Saldo: %4</translation>
    </message>
    <message>
        <source>No income in this period.</source>
        <translation>Keine Einnahmen in diesem Zeitraum.</translation>
    </message>
    <message>
        <source>No expenses in this period.</source>
        <translation>Keine Ausgaben in diesem Zeitraum.</translation>
    </message>
    <message>
        <source>Expense budget</source>
        <translation>Ausgabenbudget</translation>
    </message>
</context>
<context>
    <name>TQifReader</name>
    <message>
        <source>Every date fits %1; choose the order of the dates.</source>
        <translation>Jedes Datum passt zu %1; wählen Sie die Reihenfolge der Datumsangaben.</translation>
    </message>
    <message>
        <source> and </source>
        <translation> und </translation>
    </message>
    <message>
        <source>the entry has no D date</source>
        <translation>der Umsatz hat kein D-Datum</translation>
    </message>
    <message>
        <source>%1 is not a %2 date</source>
        <translation>%1 ist kein Datum der Form %2</translation>
    </message>
    <message>
        <source>the entry has no T amount</source>
        <translation>der Umsatz hat keinen T-Betrag</translation>
    </message>
    <message>
        <source>the amount is zero</source>
        <translation>der Betrag ist null</translation>
    </message>
    <message>
        <source>the section %1 was not read (1 entry; only bank, credit-card and cash sections are)</source>
        <translation>der Abschnitt %1 wurde nicht gelesen (1 Umsatz; gelesen werden nur Bank-, Kreditkarten- und Bargeldabschnitte)</translation>
    </message>
    <message>
        <source>the section %1 was not read (%2 entries; only bank, credit-card and cash sections are)</source>
        <translation>der Abschnitt %1 wurde nicht gelesen (%2 Umsätze; gelesen werden nur Bank-, Kreditkarten- und Bargeldabschnitte)</translation>
    </message>
    <message>
        <source>Choose the order of day, month and year in the dates.</source>
        <translation>Wählen Sie die Reihenfolge von Tag, Monat und Jahr in den Datumsangaben.</translation>
    </message>
    <message>
        <source>The QIF file is damaged near line %1: %2 is no line of a QIF entry. Export the statement from the bank again.</source>
        <translation>Die QIF-Datei ist nahe Zeile %1 beschädigt: %2 ist keine Zeile eines QIF-Umsatzes. Exportieren Sie den Kontoauszug erneut bei der Bank.</translation>
    </message>
</context>
<context>
    <name>TRecurringStep</name>
    <message>
        <source>Add of the recurring entry %1</source>
        <translation>Hinzufügen der wiederkehrenden Buchung %1</translation>
    </message>
    <message>
        <source>Delete of the recurring entry %1</source>
        <translation>Löschen der wiederkehrenden Buchung %1</translation>
    </message>
    <message>
        <source>Edit of the recurring entry %1</source>
        <translation>Bearbeiten der wiederkehrenden Buchung %1</translation>
    </message>
</context>
<context>
    <name>TRenameStep</name>
    <message>
        <source>Merge of %1 into %2</source>
        <translation>Zusammenführen von %1 mit %2</translation>
    </message>
    <message>
        <source>Rename of %1 to %2</source>
        <translation>Umbenennen von %1 in %2</translation>
    </message>
</context>
<context>
    <name>TRowsModel</name>
    <message>
        <source>Income</source>
        <translation>Einnahme</translation>
    </message>
    <message>
        <source>Expense</source>
        <translation>Ausgabe</translation>
    </message>
</context>
<context>
    <name>TSheetExport</name>
    <message>
        <source>Choose a folder you can write to, on a disk with free space, and export again.</source>
        <translation>Wählen Sie einen Ordner, in den Sie schreiben dürfen, auf einem Datenträger mit freiem Platz, und exportieren Sie erneut.</translation>
    </message>
    <message>
        <source>Cannot write &quot;%1&quot;: %2.

%3</source>
        <translation>„%1“ kann nicht geschrieben werden: %2.

%3</translation>
    </message>
    <message>
        <source>Cannot write &quot;%1&quot;: %2 has %L3 characters, more than the %L4 a spreadsheet cell holds.

Shorten it, or export as CSV.</source>
        <translation>„%1“ kann nicht geschrieben werden: In %2 stehen %L3 Zeichen, mehr als die %L4, die eine Tabellenzelle fasst.

Kürzen Sie den Text oder exportieren Sie als CSV.</translation>
    </message>
    <message>
        <source>the record of %1 in &quot;%2&quot; (%3)</source>
        <translation>des Eintrags vom %1 in „%2“ (%3)</translation>
    </message>
    <message>
        <source>no memory or temporary file for the workbook</source>
        <translation>kein Arbeitsspeicher oder keine temporäre Datei für die Arbeitsmappe</translation>
    </message>
    <message>
        <source>its temporary files in &quot;%1&quot; could not be written in full (%2)</source>
        <translation>ihre temporären Dateien in „%1“ konnten nicht vollständig geschrieben werden (%2)</translation>
    </message>
    <message>
        <source>a write failed</source>
        <translation>ein Schreibvorgang ist gescheitert</translation>
    </message>
    <message>
        <source>Free some space on the disk of &quot;%1&quot;, and export again.</source>
        <translation>Schaffen Sie Platz auf dem Datenträger von „%1“ und exportieren Sie erneut.</translation>
    </message>
    <message>
        <source>Cannot write &quot;%1&quot;: the period has %L2 records, more than the %L3 rows a worksheet holds.

Search a shorter period, or export as CSV.</source>
        <translation>„%1“ kann nicht geschrieben werden: Der Zeitraum hat %L2 Einträge, mehr als die %L3 Zeilen, die ein Tabellenblatt fasst.

Suchen Sie einen kürzeren Zeitraum oder exportieren Sie als CSV.</translation>
    </message>
    <message>
        <source>the category &quot;%1&quot;</source>
        <translation>der Kategorie „%1“</translation>
    </message>
    <message>
        <source>the category of %1</source>
        <translation>der Kategorie %1</translation>
    </message>
    <message>
        <source>the notes of %1</source>
        <translation>der Notiz %1</translation>
    </message>
</context>
<context>
    <name>TSqlConnection</name>
    <message>
        <source>Ledgerly cannot write to its data file &quot;%1&quot; (%2): the file or its folder is read-only. Make both writable for your user (for example with chmod u+w) and try again.</source>
        <translation>Ledgerly kann nicht in seine Datendatei „%1“ schreiben (%2): Die Datei oder ihr Ordner ist schreibgeschützt. Machen Sie beide für Ihren Benutzer beschreibbar (zum Beispiel mit chmod u+w) und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>Ledgerly cannot write to its data file &quot;%1&quot;: the disk is full (%2). Free some space on the disk that holds &quot;%3&quot; and try again.</source>
        <translation>Ledgerly kann nicht in seine Datendatei „%1“ schreiben: Der Datenträger ist voll (%2). Schaffen Sie Platz auf dem Datenträger mit „%3“ und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>The data file &quot;%1&quot; is kept busy by another Ledgerly window (%2). Wait until it has finished and try again.</source>
        <translation>Die Datendatei „%1“ ist von einem anderen Ledgerly-Fenster belegt (%2). Warten Sie, bis es fertig ist, und versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>The data file &quot;%1&quot; is damaged or is not a Ledgerly data file (%2). Restore a backup of it with Restore from Backup in the menu.</source>
        <translation>Die Datendatei „%1“ ist beschädigt oder keine Ledgerly-Datendatei (%2). Stellen Sie eine Sicherung mit „Aus Sicherung wiederherstellen“ im Menü wieder her.</translation>
    </message>
    <message>
        <source>Ledgerly could not read or write its data file &quot;%1&quot; (%2). Check that its disk is connected and working, then try again.</source>
        <translation>Ledgerly konnte seine Datendatei „%1“ nicht lesen oder schreiben (%2). Prüfen Sie, ob ihr Datenträger angeschlossen ist und funktioniert, und versuchen Sie es dann erneut.</translation>
    </message>
    <message>
        <source>Ledgerly cannot open its data file &quot;%1&quot; (%2). Check that the file and its folder exist and that you may read and write them, then try again.</source>
        <translation>Ledgerly kann seine Datendatei „%1“ nicht öffnen (%2). Prüfen Sie, ob die Datei und ihr Ordner existieren und ob Sie sie lesen und schreiben dürfen, und versuchen Sie es dann erneut.</translation>
    </message>
    <message>
        <source>Ledgerly could not use its data file &quot;%1&quot; (%2). Try again; if it fails again, restore a backup of it with Restore from Backup in the menu.</source>
        <translation>Ledgerly konnte seine Datendatei „%1“ nicht verwenden (%2). Versuchen Sie es erneut; scheitert es wieder, stellen Sie eine Sicherung mit „Aus Sicherung wiederherstellen“ im Menü wieder her.</translation>
    </message>
    <message>
        <source>The data file &quot;%1&quot; was not found: it was moved, renamed or deleted. Put it back, or restore a backup of it with Restore from Backup in the menu.</source>
        <translation>Die Datendatei „%1“ wurde nicht gefunden: Sie wurde verschoben, umbenannt oder gelöscht. Legen Sie sie zurück oder stellen Sie eine Sicherung mit „Aus Sicherung wiederherstellen“ im Menü wieder her.</translation>
    </message>
</context>
<context>
    <name>TStartup</name>
    <message>
        <source>Ledgerly cannot read its data file &quot;%1&quot;: %2

To go on with a backup, start Ledgerly with the backup file&apos;s name as its argument (the automatic backups are in &quot;%3&quot;).</source>
        <translation>Ledgerly kann seine Datendatei „%1“ nicht lesen: %2

Um mit einer Sicherung weiterzuarbeiten, starten Sie Ledgerly mit dem Namen der Sicherungsdatei als Argument (die automatischen Sicherungen liegen in „%3“).</translation>
    </message>
    <message>
        <source>You want to restore the backup %1?

The accounts and records of every user in the current data are replaced by those of the backup; the current data is kept among the automatic backups.</source>
        <translation>Möchten Sie die Sicherung %1 wiederherstellen?

Die Konten und Einträge aller Benutzer in den aktuellen Daten werden durch die der Sicherung ersetzt; die aktuellen Daten bleiben bei den automatischen Sicherungen erhalten.</translation>
    </message>
    <message>
        <source>Backup</source>
        <translation>Datensicherung</translation>
    </message>
    <message>
        <source>Today&apos;s automatic backup of your data could not be made. %1

Your data file is unchanged and you can go on working; a backup is tried again at the next start. You can also make one now with Backup in the menu.</source>
        <translation>Die heutige automatische Sicherung Ihrer Daten konnte nicht erstellt werden. %1

Ihre Datendatei ist unverändert, und Sie können weiterarbeiten; beim nächsten Start wird die Sicherung erneut versucht. Sie können auch jetzt eine mit „Datensicherung“ im Menü erstellen.</translation>
    </message>
</context>
<context>
    <name>TStatementBuilder</name>
    <message>
        <source>The file holds more than %L1 entries; import it in parts.</source>
        <translation>Die Datei enthält mehr als %L1 Umsätze; importieren Sie sie in Teilen.</translation>
    </message>
    <message>
        <source>%L1 more lines could not be read</source>
        <translation>%L1 weitere Zeilen konnten nicht gelesen werden</translation>
    </message>
    <message>
        <source>“%1”</source>
        <translation>„%1“</translation>
    </message>
</context>
<context>
    <name>TStatementImport</name>
    <message>
        <source>The bank profile “%1” cannot be read; delete it and keep the layout again.</source>
        <translation>Das Bankprofil „%1“ kann nicht gelesen werden; löschen Sie es und merken Sie sich das Layout erneut.</translation>
    </message>
    <message>
        <source>The bank profile “%1” is for another kind of file.</source>
        <translation>Das Bankprofil „%1“ gehört zu einer anderen Art von Datei.</translation>
    </message>
    <message>
        <source>There is no bank profile “%1”.</source>
        <translation>Es gibt kein Bankprofil „%1“.</translation>
    </message>
</context>
<context>
    <name>TStatementLayout</name>
    <message>
        <source>year-month-day</source>
        <translation>Jahr-Monat-Tag</translation>
    </message>
    <message>
        <source>month/day/year</source>
        <translation>Monat/Tag/Jahr</translation>
    </message>
    <message>
        <source>day/month/year</source>
        <translation>Tag/Monat/Jahr</translation>
    </message>
    <message>
        <source>unknown</source>
        <translation>unbekannt</translation>
    </message>
</context>
<context>
    <name>TTransListPanel</name>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;More...</source>
        <translation>&amp;Mehr...</translation>
    </message>
    <message>
        <source>By the Day</source>
        <translation>Nach Tagen</translation>
    </message>
    <message>
        <source>By the Month</source>
        <translation>Nach Monaten</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message>
        <source>In</source>
        <translation>Einnahmen</translation>
    </message>
    <message>
        <source>Out</source>
        <translation>Ausgaben</translation>
    </message>
    <message>
        <source>Month/Year</source>
        <translation>Monat/Jahr</translation>
    </message>
    <message>
        <source>Category</source>
        <translation>Kategorie</translation>
    </message>
    <message>
        <source>Notes</source>
        <translation>Notiz</translation>
    </message>
    <message>
        <source>Export to XLS</source>
        <translation>Als XLS exportieren</translation>
    </message>
    <message>
        <source>Export to HTML</source>
        <translation>Als HTML exportieren</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Drucken</translation>
    </message>
    <message>
        <source>You want to delete it?</source>
        <translation>Möchten Sie den Eintrag löschen?</translation>
    </message>
    <message>
        <source>You want to edit it?</source>
        <translation>Möchten Sie den Eintrag bearbeiten?</translation>
    </message>
    <message>
        <source>Export for Spreadsheets...</source>
        <translation>Für Tabellenkalkulation exportieren...</translation>
    </message>
    <message>
        <source>The record was changed or deleted in another Ledgerly window meanwhile; nothing was deleted. The list now shows the records as they are.</source>
        <translation>Die Buchung wurde inzwischen in einem anderen Ledgerly-Fenster geändert oder gelöscht; es wurde nichts gelöscht. Die Liste zeigt jetzt die Buchungen, wie sie sind.</translation>
    </message>
    <message>
        <source>Repeat Every Month...</source>
        <translation>Jeden Monat wiederholen...</translation>
    </message>
</context>
<context>
    <name>TTransactionsPanel</name>
    <message>
        <source>&amp;Search</source>
        <translation>&amp;Suchen</translation>
    </message>
    <message>
        <source>Transactions</source>
        <translation>Buchungen</translation>
    </message>
    <message>
        <source>Categories</source>
        <translation>Kategorien</translation>
    </message>
    <message>
        <source>Charts</source>
        <translation>Grafiken</translation>
    </message>
    <message>
        <source>1 record of this period could not be read and is not shown.</source>
        <translation>1 Eintrag dieses Zeitraums konnte nicht gelesen werden und wird nicht angezeigt.</translation>
    </message>
    <message>
        <source>%1 records of this period could not be read and are not shown.</source>
        <translation>%1 Einträge dieses Zeitraums konnten nicht gelesen werden und werden nicht angezeigt.</translation>
    </message>
    <message>
        <source>Find records of any period by notes, category or amount (Ctrl+F)</source>
        <translation>Buchungen jedes Zeitraums nach Notiz, Kategorie oder Betrag suchen (Strg+F)</translation>
    </message>
    <message>
        <source>Find</source>
        <translation>Finden</translation>
    </message>
    <message>
        <source>The amounts of the records found add up to more than Ledgerly can show.</source>
        <translation>Die Beträge der gefundenen Buchungen ergeben mehr, als Ledgerly anzeigen kann.</translation>
    </message>
    <message>
        <source>1 record of the book could not be read, so the find could not look at it.</source>
        <translation>1 Buchung konnte nicht gelesen werden und wurde daher bei der Suche nicht berücksichtigt.</translation>
    </message>
    <message>
        <source>%1 records of the book could not be read, so the find could not look at them.</source>
        <translation>%1 Buchungen konnten nicht gelesen werden und wurden daher bei der Suche nicht berücksichtigt.</translation>
    </message>
    <message>
        <source>Budgets</source>
        <translation>Budgets</translation>
    </message>
</context>
<context>
    <name>TUndoSteps</name>
    <message>
        <source>Undo</source>
        <translation>Rückgängig</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Wiederholen</translation>
    </message>
    <message>
        <source>&quot;%1&quot; was taken off the steps to undo; the steps before it can still be undone.</source>
        <translation>„%1“ wurde aus den rückgängig zu machenden Schritten entfernt; die Schritte davor können weiter rückgängig gemacht werden.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; was taken off the steps to redo.</source>
        <translation>„%1“ wurde aus den zu wiederholenden Schritten entfernt.</translation>
    </message>
</context>
<context>
    <name>TXlsExport</name>
    <message>
        <source>The template is not an Excel 97-2003 workbook.</source>
        <translation>Die Vorlage ist keine Excel-97-2003-Arbeitsmappe.</translation>
    </message>
    <message>
        <source>The template is an Excel 5.0/95 workbook; only Excel 97-2003 workbooks can be filled. Save it in the Excel 97-2003 format.</source>
        <translation>Die Vorlage ist eine Excel-5.0/95-Arbeitsmappe; nur Excel-97-2003-Arbeitsmappen können gefüllt werden. Speichern Sie sie im Format Excel 97-2003.</translation>
    </message>
    <message>
        <source>The template is not an Excel workbook (it has no workbook stream).</source>
        <translation>Die Vorlage ist keine Excel-Arbeitsmappe (sie hat keinen Arbeitsmappen-Datenstrom).</translation>
    </message>
    <message>
        <source>The template workbook has no worksheet named &quot;%1&quot;.</source>
        <translation>Die Vorlage-Arbeitsmappe hat kein Tabellenblatt namens „%1“.</translation>
    </message>
    <message>
        <source>The first row of &quot;%1&quot; in the template workbook has no column &quot;%2&quot;; it needs the headings %3.</source>
        <translation>Die erste Zeile von „%1“ in der Vorlage-Arbeitsmappe hat keine Spalte „%2“; sie braucht die Überschriften %3.</translation>
    </message>
    <message>
        <source>Cannot read the template workbook &quot;%1&quot;: %2. Restore the template file that came with Ledgerly.</source>
        <translation>Die Vorlage-Arbeitsmappe „%1“ kann nicht gelesen werden: %2. Stellen Sie die mit Ledgerly gelieferte Vorlagendatei wieder her.</translation>
    </message>
    <message>
        <source>Cannot read the template workbook &quot;%1&quot;: %2.</source>
        <translation>Die Vorlage-Arbeitsmappe „%1“ kann nicht gelesen werden: %2.</translation>
    </message>
    <message>
        <source>%1

Template: %2</source>
        <translation>%1

Vorlage: %2</translation>
    </message>
    <message>
        <source>%1. Choose a folder you can write to.</source>
        <translation>%1. Wählen Sie einen Ordner, in den Sie schreiben dürfen.</translation>
    </message>
</context>
<context>
    <name>TfrmAbout</name>
    <message>
        <source>About</source>
        <translation>Über Ledgerly</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
</context>
<context>
    <name>TfrmBudgets</name>
    <message>
        <source>Budgets</source>
        <translation>Budgets</translation>
    </message>
    <message>
        <source>Expense budgets per month</source>
        <translation>Ausgabenbudgets pro Monat</translation>
    </message>
    <message>
        <source>Income budgets per month</source>
        <translation>Einnahmenbudgets pro Monat</translation>
    </message>
    <message>
        <source>Use &amp;Averages</source>
        <translation>&amp;Durchschnitte übernehmen</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Speichern</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Average per month from %1 to %2 (%3 months).</source>
        <translation>Durchschnitt pro Monat von %1 bis %2 (%3 Monate).</translation>
    </message>
    <message>
        <source>No records in the last 12 full months to average.</source>
        <translation>Keine Buchungen in den letzten 12 vollen Monaten für einen Durchschnitt.</translation>
    </message>
    <message>
        <source>Category</source>
        <translation>Kategorie</translation>
    </message>
    <message>
        <source>Budget</source>
        <translation>Budget</translation>
    </message>
    <message>
        <source>Average</source>
        <translation>Durchschnitt</translation>
    </message>
    <message>
        <source>%1 (%2): &quot;%3&quot;</source>
        <translation>%1 (%2): „%3“</translation>
    </message>
    <message>
        <source>These budgets are not amounts such as 250.00; nothing was saved. Correct or empty them and save again:
%1</source>
        <translation>Diese Budgets sind keine Beträge wie 250.00; es wurde nichts gespeichert. Korrigieren oder leeren Sie sie und speichern Sie erneut:
%1</translation>
    </message>
    <message>
        <source>The budgets were changed in another Ledgerly window meanwhile; nothing was saved. Close this window and open Budgets... again to see them as they are.</source>
        <translation>Die Budgets wurden inzwischen in einem anderen Ledgerly-Fenster geändert; es wurde nichts gespeichert. Schließen Sie dieses Fenster und öffnen Sie Budgets... erneut, um sie so zu sehen, wie sie sind.</translation>
    </message>
</context>
<context>
    <name>TfrmEditCate</name>
    <message>
        <source>Edit</source>
        <translation>Bearbeiten</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Add Common Categories</source>
        <translation>Übliche Kategorien einfügen</translation>
    </message>
    <message>
        <source>Salary</source>
        <translation>Gehalt</translation>
    </message>
    <message>
        <source>Interest</source>
        <translation>Zinsen</translation>
    </message>
    <message>
        <source>Gifts</source>
        <translation>Geschenke</translation>
    </message>
    <message>
        <source>Refunds</source>
        <translation>Erstattungen</translation>
    </message>
    <message>
        <source>Other</source>
        <translation>Sonstige</translation>
    </message>
    <message>
        <source>Food</source>
        <translation>Essen</translation>
    </message>
    <message>
        <source>Groceries</source>
        <translation>Lebensmittel</translation>
    </message>
    <message>
        <source>Rent</source>
        <translation>Miete</translation>
    </message>
    <message>
        <source>Utilities</source>
        <translation>Nebenkosten</translation>
    </message>
    <message>
        <source>Transport</source>
        <translation>Verkehr</translation>
    </message>
    <message>
        <source>Health</source>
        <translation>Gesundheit</translation>
    </message>
    <message>
        <source>Clothing</source>
        <translation>Kleidung</translation>
    </message>
    <message>
        <source>Entertainment</source>
        <translation>Freizeit</translation>
    </message>
</context>
<context>
    <name>TfrmEditRec</name>
    <message>
        <source>Edit</source>
        <translation>Bearbeiten</translation>
    </message>
    <message>
        <source>Date:</source>
        <translation>Datum:</translation>
    </message>
    <message>
        <source>Category:</source>
        <translation>Kategorie:</translation>
    </message>
    <message>
        <source>Amount:</source>
        <translation>Betrag:</translation>
    </message>
    <message>
        <source>Notes:</source>
        <translation>Notiz:</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>TfrmEditRecurring</name>
    <message>
        <source>Recurring Entry</source>
        <translation>Wiederkehrende Buchung</translation>
    </message>
    <message>
        <source>Until</source>
        <translation>Bis</translation>
    </message>
    <message>
        <source>Type:</source>
        <translation>Art:</translation>
    </message>
    <message>
        <source>Category:</source>
        <translation>Kategorie:</translation>
    </message>
    <message>
        <source>Amount:</source>
        <translation>Betrag:</translation>
    </message>
    <message>
        <source>Notes:</source>
        <translation>Notiz:</translation>
    </message>
    <message>
        <source>Every:</source>
        <translation>Alle:</translation>
    </message>
    <message>
        <source>First date:</source>
        <translation>Erstes Datum:</translation>
    </message>
    <message>
        <source>Last date:</source>
        <translation>Letztes Datum:</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Please type a category.</source>
        <translation>Bitte geben Sie eine Kategorie ein.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; cannot be read as an amount. Please type an amount such as 49.95.</source>
        <translation>„%1“ kann nicht als Betrag gelesen werden. Bitte geben Sie einen Betrag wie 49.95 ein.</translation>
    </message>
    <message>
        <source>The last date is before the first date. Please choose a later last date.</source>
        <translation>Das letzte Datum liegt vor dem ersten Datum. Bitte wählen Sie ein späteres letztes Datum.</translation>
    </message>
</context>
<context>
    <name>TfrmImport</name>
    <message>
        <source>Import Statement</source>
        <translation>Kontoauszug importieren</translation>
    </message>
    <message>
        <source>File:</source>
        <translation>Datei:</translation>
    </message>
    <message>
        <source>&amp;Browse...</source>
        <translation>&amp;Durchsuchen...</translation>
    </message>
    <message>
        <source>Profile:</source>
        <translation>Profil:</translation>
    </message>
    <message>
        <source>&amp;Keep Layout...</source>
        <translation>&amp;Layout merken...</translation>
    </message>
    <message>
        <source>Delete Profile</source>
        <translation>Profil löschen</translation>
    </message>
    <message>
        <source>Format:</source>
        <translation>Format:</translation>
    </message>
    <message>
        <source>Delimiter:</source>
        <translation>Trenner:</translation>
    </message>
    <message>
        <source>Skip lines:</source>
        <translation>Auslassen:</translation>
    </message>
    <message>
        <source>Header row</source>
        <translation>Kopfzeile</translation>
    </message>
    <message>
        <source>Date order:</source>
        <translation>Reihenfolge:</translation>
    </message>
    <message>
        <source>Decimal comma</source>
        <translation>Dezimalkomma</translation>
    </message>
    <message>
        <source>Date:</source>
        <translation>Datum:</translation>
    </message>
    <message>
        <source>Payee:</source>
        <translation>Name:</translation>
    </message>
    <message>
        <source>Memo:</source>
        <translation>Zweck:</translation>
    </message>
    <message>
        <source>Amount:</source>
        <translation>Betrag:</translation>
    </message>
    <message>
        <source>Out:</source>
        <translation>Soll:</translation>
    </message>
    <message>
        <source>In:</source>
        <translation>Haben:</translation>
    </message>
    <message>
        <source>Money out written positive</source>
        <translation>Ausgaben ohne Minuszeichen</translation>
    </message>
    <message>
        <source>Category of selected lines:</source>
        <translation>Kategorie für Auswahl:</translation>
    </message>
    <message>
        <source>&amp;Set</source>
        <translation>&amp;Zuweisen</translation>
    </message>
    <message>
        <source>Tick All</source>
        <translation>Alle wählen</translation>
    </message>
    <message>
        <source>Untick All</source>
        <translation>Keine wählen</translation>
    </message>
    <message>
        <source>Problems</source>
        <translation>Probleme</translation>
    </message>
    <message>
        <source>Rules</source>
        <translation>Regeln</translation>
    </message>
    <message>
        <source>Payee or memo contains:</source>
        <translation>Name/Zweck enthält:</translation>
    </message>
    <message>
        <source>Category:</source>
        <translation>Kategorie:</translation>
    </message>
    <message>
        <source>For:</source>
        <translation>Für:</translation>
    </message>
    <message>
        <source>Add &amp;Rule</source>
        <translation>&amp;Neue Regel</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Up</source>
        <translation>Nach oben</translation>
    </message>
    <message>
        <source>Down</source>
        <translation>Nach unten</translation>
    </message>
    <message>
        <source>&amp;Add to Lists</source>
        <translation>&amp;Übernehmen</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>S&amp;chließen</translation>
    </message>
    <message>
        <source>“%1”</source>
        <comment>a quoted file or profile name</comment>
        <translation>„%1“</translation>
    </message>
    <message>
        <source>Money in</source>
        <translation>Einnahmen</translation>
    </message>
    <message>
        <source>Both</source>
        <translation>Beide</translation>
    </message>
    <message>
        <source>Money out</source>
        <translation>Ausgaben</translation>
    </message>
    <message>
        <source>Line</source>
        <translation>Zeile</translation>
    </message>
    <message>
        <source>Reason</source>
        <translation>Grund</translation>
    </message>
    <message>
        <source>Payee or memo contains</source>
        <translation>Name/Zweck enthält</translation>
    </message>
    <message>
        <source>Category</source>
        <translation>Kategorie</translation>
    </message>
    <message>
        <source>For</source>
        <translation>Für</translation>
    </message>
    <message>
        <source>Tab</source>
        <translation>Tabulator</translation>
    </message>
    <message>
        <source>(choose)</source>
        <translation>(wählen)</translation>
    </message>
    <message>
        <source>%1 cannot be imported. %2

Nothing was added.</source>
        <translation>%1 kann nicht importiert werden. %2

Es wurde nichts hinzugefügt.</translation>
    </message>
    <message>
        <source>Every date in %1 fits %2. In which order does the file write day, month and year?</source>
        <translation>Jedes Datum in %1 passt zu %2. In welcher Reihenfolge schreibt die Datei Tag, Monat und Jahr?</translation>
    </message>
    <message>
        <source> and </source>
        <translation> und </translation>
    </message>
    <message>
        <source>Statements (%1)</source>
        <translation>Kontoauszüge (%1)</translation>
    </message>
    <message>
        <source>All files (%1)</source>
        <translation>Alle Dateien (%1)</translation>
    </message>
    <message>
        <source>Format: %1, %2</source>
        <translation>Format: %1, %2</translation>
    </message>
    <message>
        <source>(this file&apos;s layout)</source>
        <translation>(Layout dieser Datei)</translation>
    </message>
    <message>
        <source>Column %1</source>
        <translation>Spalte %1</translation>
    </message>
    <message>
        <source>(none)</source>
        <translation>(keine)</translation>
    </message>
    <message>
        <source>Problems (%1)</source>
        <translation>Probleme (%1)</translation>
    </message>
    <message>
        <source>Nothing was read: %1</source>
        <translation>Nichts wurde gelesen: %1</translation>
    </message>
    <message>
        <source>Read with the bank profile %1.</source>
        <translation>Gelesen mit dem Bankprofil %1.</translation>
    </message>
    <message>
        <source>%1 Nothing can be added.</source>
        <translation>%1 Es kann nichts hinzugefügt werden.</translation>
    </message>
    <message>
        <source>No entry of the file could be read (see Problems).</source>
        <translation>Kein Umsatz der Datei konnte gelesen werden (siehe Probleme).</translation>
    </message>
    <message>
        <source>%1 lines, %2 ticked, %3 duplicates, %4 problems.</source>
        <translation>%1 Zeilen, %2 gewählt, %3 doppelt, %4 Probleme.</translation>
    </message>
    <message>
        <source> Choose a category for %1 ticked %2.</source>
        <translation> Wählen Sie eine Kategorie für %1 gewählte %2.</translation>
    </message>
    <message>
        <source>line</source>
        <translation>Zeile</translation>
    </message>
    <message>
        <source>lines</source>
        <translation>Zeilen</translation>
    </message>
    <message>
        <source>Keep Layout</source>
        <translation>Layout merken</translation>
    </message>
    <message>
        <source>Name of the bank profile:</source>
        <translation>Name des Bankprofils:</translation>
    </message>
    <message>
        <source>There is a bank profile %1 already. Do you want to replace it?</source>
        <translation>Es gibt bereits ein Bankprofil %1. Möchten Sie es ersetzen?</translation>
    </message>
    <message>
        <source>You want to delete the bank profile %1?</source>
        <translation>Möchten Sie das Bankprofil %1 löschen?</translation>
    </message>
</context>
<context>
    <name>TfrmLogin</name>
    <message>
        <source>Login</source>
        <translation>Anmeldung</translation>
    </message>
    <message>
        <source>1. Enter a new Username (e.g. Guest).</source>
        <translation>1. Neuen Benutzernamen eingeben (z. B. Gast).</translation>
    </message>
    <message>
        <source>2. Enter a new Password (e.g. 24680).</source>
        <translation>2. Neues Passwort eingeben (z. B. 24680).</translation>
    </message>
    <message>
        <source>3. Please click on the Submit button.</source>
        <translation>3. Dann auf „Anmelden“ klicken.</translation>
    </message>
    <message>
        <source>Username:</source>
        <translation>Benutzer:</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>Passwort:</translation>
    </message>
    <message>
        <source>&amp;Submit</source>
        <translation>&amp;Anmelden</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message>
        <source>ERROR</source>
        <translation>FEHLER</translation>
    </message>
    <message>
        <source>ERROR: Invalid password.</source>
        <translation>FEHLER: Falsches Passwort.</translation>
    </message>
    <message>
        <source>Ledgerly could not note this sign-in in its data file, so the list of users keeps its order. %1</source>
        <translation>Ledgerly konnte diese Anmeldung nicht in seiner Datendatei vermerken, daher behält die Benutzerliste ihre Reihenfolge. %1</translation>
    </message>
    <message>
        <source>You want to create a new Username and Password?

- Username: %1
- Password: %2

Your book is encrypted under this password. A forgotten password cannot be recovered, and the book is lost with it.</source>
        <translation>Möchten Sie einen neuen Benutzer mit Passwort anlegen?

- Benutzername: %1
- Passwort: %2

Ihr Buch wird mit diesem Passwort verschlüsselt. Ein vergessenes Passwort lässt sich nicht wiederherstellen, und das Buch ist damit verloren.</translation>
    </message>
    <message>
        <source>Encrypting your book...</source>
        <translation>Ihr Buch wird verschlüsselt...</translation>
    </message>
    <message>
        <source>Encrypting</source>
        <translation>Verschlüsseln</translation>
    </message>
    <message>
        <source>Ledgerly could not encrypt your book in its data file, so it is kept as before and encrypted at a later sign-in. %1</source>
        <translation>Ledgerly konnte Ihr Buch in seiner Datendatei nicht verschlüsseln; es bleibt wie bisher und wird bei einer späteren Anmeldung verschlüsselt. %1</translation>
    </message>
</context>
<context>
    <name>TfrmMain</name>
    <message>
        <source>Expense</source>
        <translation>Ausgabe</translation>
    </message>
    <message>
        <source>Income</source>
        <translation>Einnahme</translation>
    </message>
    <message>
        <source>Transactions</source>
        <translation>Buchungen</translation>
    </message>
    <message>
        <source>Menu</source>
        <translation>Menü</translation>
    </message>
    <message>
        <source>Switch User</source>
        <translation>Benutzer wechseln</translation>
    </message>
    <message>
        <source>Set Password</source>
        <translation>Passwort ändern</translation>
    </message>
    <message>
        <source>Delete %1</source>
        <translation>%1 löschen</translation>
    </message>
    <message>
        <source>Import Statement...</source>
        <translation>Kontoauszug importieren...</translation>
    </message>
    <message>
        <source>Backup</source>
        <translation>Datensicherung</translation>
    </message>
    <message>
        <source>Restore from Backup</source>
        <translation>Aus Sicherung wiederherstellen</translation>
    </message>
    <message>
        <source>About...</source>
        <translation>Über Ledgerly...</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Ledgerly - Username: %1</source>
        <translation>Ledgerly - Benutzer: %1</translation>
    </message>
    <message>
        <source>You want to switch user?</source>
        <translation>Möchten Sie den Benutzer wechseln?</translation>
    </message>
    <message>
        <source>Enter a new password:</source>
        <translation>Neues Passwort eingeben:</translation>
    </message>
    <message>
        <source>SUCCESS!</source>
        <translation>ERFOLGREICH!</translation>
    </message>
    <message>
        <source>You want to delete %1?</source>
        <translation>Möchten Sie %1 löschen?</translation>
    </message>
    <message>
        <source>%1

Nothing was restored.</source>
        <translation>%1

Es wurde nichts wiederhergestellt.</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Rückgängig</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Wiederholen</translation>
    </message>
    <message>
        <source>1 pending expense</source>
        <translation>1 offene Ausgabe</translation>
    </message>
    <message>
        <source>%1 pending expenses</source>
        <translation>%1 offene Ausgaben</translation>
    </message>
    <message>
        <source>1 pending income</source>
        <translation>1 offene Einnahme</translation>
    </message>
    <message>
        <source>%1 pending incomes</source>
        <translation>%1 offene Einnahmen</translation>
    </message>
    <message>
        <source>Save the %1 and %2 before closing?</source>
        <translation>%1 und %2 vor dem Schließen speichern?</translation>
    </message>
    <message>
        <source>Save the %1 before closing?</source>
        <translation>%1 vor dem Schließen speichern?</translation>
    </message>
    <message>
        <source>Undo %1</source>
        <translation>Rückgängig: %1</translation>
    </message>
    <message>
        <source>Redo %1</source>
        <translation>Wiederholen: %1</translation>
    </message>
    <message>
        <source>Budgets...</source>
        <translation>Budgets...</translation>
    </message>
    <message>
        <source>Recurring Entries...</source>
        <translation>Wiederkehrende Buchungen...</translation>
    </message>
    <message>
        <source>1 recurring entry is due: review it in the pending lists.</source>
        <translation>1 wiederkehrende Buchung ist fällig: Prüfen Sie sie in den offenen Listen.</translation>
    </message>
    <message>
        <source>%1 recurring entries are due: review them in the pending lists.</source>
        <translation>%1 wiederkehrende Buchungen sind fällig: Prüfen Sie sie in den offenen Listen.</translation>
    </message>
    <message>
        <source>%1 more are left for the next time: at most %2 rows of an entry come at once.</source>
        <translation>%1 weitere bleiben für das nächste Mal: Von einer Buchung kommen höchstens %2 Zeilen auf einmal.</translation>
    </message>
</context>
<context>
    <name>TfrmMoreInfo</name>
    <message>
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message>
        <source>Category</source>
        <translation>Kategorie</translation>
    </message>
    <message>
        <source>Notes</source>
        <translation>Notiz</translation>
    </message>
</context>
<context>
    <name>TfrmPrint</name>
    <message>
        <source>Print</source>
        <translation>Drucken</translation>
    </message>
    <message>
        <source>First Page</source>
        <translation>Anfang</translation>
    </message>
    <message>
        <source>Prev Page</source>
        <translation>Zurück</translation>
    </message>
    <message>
        <source>Next Page</source>
        <translation>Weiter</translation>
    </message>
    <message>
        <source>Last Page</source>
        <translation>Ende</translation>
    </message>
    <message>
        <source>Print (A4)</source>
        <translation>Drucken</translation>
    </message>
    <message>
        <source>Page %1 of %2</source>
        <translation>Seite %1 von %2</translation>
    </message>
    <message>
        <source>The printout was not printed.
%1</source>
        <translation>Der Ausdruck wurde nicht gedruckt.
%1</translation>
    </message>
</context>
<context>
    <name>TfrmRecurring</name>
    <message>
        <source>days</source>
        <translation>Tage</translation>
    </message>
    <message>
        <source>day</source>
        <translation>Tag</translation>
    </message>
    <message>
        <source>weeks</source>
        <translation>Wochen</translation>
    </message>
    <message>
        <source>week</source>
        <translation>Woche</translation>
    </message>
    <message>
        <source>months</source>
        <translation>Monate</translation>
    </message>
    <message>
        <source>month</source>
        <translation>Monat</translation>
    </message>
    <message>
        <source>years</source>
        <translation>Jahre</translation>
    </message>
    <message>
        <source>year</source>
        <translation>Jahr</translation>
    </message>
    <message>
        <source>Every %1</source>
        <translation>Einmal pro %1</translation>
    </message>
    <message>
        <source>Every %1 %2</source>
        <translation>Alle %1 %2</translation>
    </message>
    <message>
        <source>%1 from %2</source>
        <translation>%1 ab %2</translation>
    </message>
    <message>
        <source>%1 to %2</source>
        <translation>%1 bis %2</translation>
    </message>
    <message>
        <source>Recurring Entries</source>
        <translation>Wiederkehrende Buchungen</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Art</translation>
    </message>
    <message>
        <source>Category</source>
        <translation>Kategorie</translation>
    </message>
    <message>
        <source>Amount</source>
        <translation>Betrag</translation>
    </message>
    <message>
        <source>Notes</source>
        <translation>Notiz</translation>
    </message>
    <message>
        <source>Schedule</source>
        <translation>Rhythmus</translation>
    </message>
    <message>
        <source>Next date</source>
        <translation>Nächstes Datum</translation>
    </message>
    <message>
        <source>Add...</source>
        <translation>Hinzufügen...</translation>
    </message>
    <message>
        <source>Edit...</source>
        <translation>Bearbeiten...</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>You want to delete the recurring entry %1 %2?</source>
        <translation>Möchten Sie die wiederkehrende Buchung %1 %2 löschen?</translation>
    </message>
</context>
</TS>
