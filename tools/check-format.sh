#!/usr/bin/env bash
# Checks that every C++ source of the repository follows the root .clang-format;
# lists the files that do not and fails. `clang-format -i FILE` mends one.
set -euo pipefail
cd "$(dirname "$0")/.."
if git rev-parse --git-dir >/dev/null 2>&1; then
  mapfile -t files < <(git ls-files -- '*.cpp' '*.h')
else
  mapfile -t files < <(find . -path ./build -prune -o \( -name '*.cpp' -o -name '*.h' \) -print)
fi
if ! report=$(clang-format --dry-run --Werror "${files[@]}" 2>&1); then
  echo "These files do not follow .clang-format (run clang-format -i on them):"
  grep -o '^[^:]*:[0-9]*:[0-9]*: error' <<<"$report" | cut -d: -f1 | sort -u | sed 's/^/  /'
  exit 1
fi
echo "Formatting: ${#files[@]} files follow .clang-format."
