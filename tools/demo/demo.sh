#!/usr/bin/env bash
# The README's demo: shows the module at work on what exists so far.
set -euo pipefail
BUILD=${1:?usage: demo.sh BUILD_DIR}
HERE=$(cd "$(dirname "$0")" && pwd)
BIN=$BUILD/bin

echo "ZRBCommands demo"
echo "================"
if [ -x "$BIN/zrbtool" ]; then
  echo
  echo "-- an exchange object file as the PDM writes it ($HERE/sample-answer.zrb):"
  "$BIN/zrbtool" dump "$HERE/sample-answer.zrb"
  echo
  echo "-- the same as JSON:"
  "$BIN/zrbtool" dump --json "$HERE/sample-answer.zrb"
  echo
  echo "-- zrbtool check:"
  "$BIN/zrbtool" check "$HERE/sample-answer.zrb" || true
else
  echo "(zrbtool is not built yet)"
fi
