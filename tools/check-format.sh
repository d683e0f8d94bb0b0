#!/usr/bin/env bash
# Checks that every C++ file of the repository follows .clang-format; names those that do not.
# To format a file: clang-format -i FILE; to format what a change touched: git clang-format.
# The files go to clang-format in batches, several batches at once; a batch that fails is checked
# again file by file to name the files at fault.
set -euo pipefail
cd "$(dirname "$0")/.."
if ! command -v clang-format >/dev/null; then
  echo "clang-format is not installed (tools/deps.sh installs it)."
  exit 1
fi
count=$(git ls-files '*.cpp' '*.h' | wc -l)
bad=$(git ls-files -z '*.cpp' '*.h' | xargs -0 -r -n 16 -P "$(nproc)" sh -c '
  clang-format --dry-run --Werror "$@" >/dev/null 2>&1 && exit 0
  for f in "$@"; do
    clang-format --dry-run --Werror "$f" >/dev/null 2>&1 || printf "%s\n" "$f"
  done' check-format | LC_ALL=C sort)
if [ -n "$bad" ]; then
  echo "Not formatted as .clang-format asks (clang-format -i FILE):"
  printf '%s\n' "$bad" | sed 's/^/  /'
  exit 1
fi
echo "Formatting: $count files follow .clang-format."
