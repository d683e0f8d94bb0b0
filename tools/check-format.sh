#!/usr/bin/env bash
# Checks that every C++ file of the repository follows .clang-format; names those that do not.
# To format a file: clang-format -i FILE; to format what a change touched: git clang-format.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files '*.cpp' '*.h')
bad=()
for f in "${files[@]}"; do
  clang-format --dry-run --Werror "$f" >/dev/null 2>&1 || bad+=("$f")
done
if [ ${#bad[@]} -gt 0 ]; then
  echo "Not formatted as .clang-format asks (clang-format -i FILE):"
  printf '  %s\n' "${bad[@]}"
  exit 1
fi
echo "Formatting: ${#files[@]} files follow .clang-format."
