#!/usr/bin/env bash
# The README's demo: a fresh vault of the reference PDM from the sample session,
# a headless CAD session with the module loaded, the PDM user sending the
# assembly to it and completing an add-temporary dialog, a second read served
# from the exchange map's cache, the designer moving an instance and the
# product states showing what changed, the designer adding a part and saving,
# a fresh session reading the saved structure back and refusing to save a file another document replaced, then a new part created and saved under a new number, the
# session saved locally, restored in a fresh session and saved to the PDM from there, and where to look afterwards.
set -euo pipefail
BUILD=$(cd "${1:?usage: demo.sh BUILD_DIR}" && pwd)
HERE=$(cd "$(dirname "$0")" && pwd)
BIN=$BUILD/bin
WORK=$BUILD/demo

bold() { if [ -t 1 ]; then printf '\033[1m%s\033[0m\n' "$*"; else printf '%s\n' "$*"; fi; }
step() { echo; bold "== $*"; }

for tool in samplesession pdmsim zrbsession ZRBSender; do
  [ -x "$BIN/$tool" ] || { echo "demo: $BIN/$tool is missing; build first (./run build)" >&2; exit 1; }
done

# Everything the demo writes lives under one directory, made afresh each run.
rm -rf "$WORK"
mkdir -p "$WORK/sample" "$WORK/xmap" "$WORK/settings" "$WORK/new"
export PDMSIM_VAULT=$WORK/vault
export DEMO_WORK=$WORK DEMO_SAMPLE=$WORK/sample
export PATH=$BIN:$PATH

bold "ZRBCommands demo"
echo "A headless CAD session (zrbsession) with the module loaded as a CAD host loads it, and the reference"
echo "PDM (pdmsim) with a SQLite vault. Everything below runs on this machine; nothing is installed."

step "1. a fresh vault of the reference PDM, filled from the sample session"
"$BIN/samplesession" "$WORK/sample"
pdmsim vault init
pdmsim vault import "$WORK/sample/Assembly.CADProduct" "$WORK/sample/Plate.CADDrawing"
pdmsim vault ls

step "the assembly as the PDM keeps it (positions are stored as the module's 16-number text)"
pdmsim vault show Assembly

SESSION=(zrbsession --xmap "$WORK/xmap" --settings "$WORK/settings" --workdir "$WORK/new")

step "2-8. a CAD session with the module loaded: reads, a temporary part, a move, saves, pointing, a picture"
"${SESSION[@]}" --trace-file "$WORK/trace-read.log" --script "$HERE/session-read.zrbs" | tee "$WORK/session-read.log"
step "the PDM's journal of session calls: the second read delivered nothing (all from the exchange map);"
bold "   three saves: the first creates, moves and saves, the second sends the new part's properties, the third nothing"
pdmsim journal
LAST=$(pdmsim journal --json | grep -o '"seq": *[0-9]*' | tail -1 | grep -o '[0-9]*$')
ACTIONS='^\{(CREATE_PART_IN_PDM|CREATE_MODEL_RELATION_ONLY|CREATE_PART_RELATION_ONLY|LINK_IN_PDM|UPD_GEOMETRY|UPD_MATRIX|UPD_PRODUCT)\} *[12] *$|^\{REMOVED_SUBASS\}'
echo "  actions in the last save request (call $LAST): $(pdmsim journal show "$LAST" | grep -cE "$ACTIONS" || true)"

step "9. a fresh CAD session with an empty exchange map reads the saved structure back; a file swapped behind its back is refused"
mkdir -p "$WORK/fresh/xmap" "$WORK/fresh/settings"
ZRB_READ_UUID=ON zrbsession --xmap "$WORK/fresh/xmap" --settings "$WORK/fresh/settings" --workdir "$WORK/fresh" \
  --trace-file "$WORK/trace-readback.log" --script "$HERE/session-readback.zrbs" | tee "$WORK/session-readback.log"

# The local session file is packed and unpacked with Info-ZIP's zip and unzip (./run installs them).
export ZRB_PACK_SESSION_CMD="zip -0 -q -j" ZRB_PACK_ADD_SESSION_CMD="zip -0 -q -j"
export ZRB_UNPACK_SESSION_CMD="unzip -o -j -q -d"
export DEMO_LOCAL=$WORK/local
mkdir -p "$DEMO_LOCAL/xmap" "$DEMO_LOCAL/settings" "$DEMO_LOCAL/new"
LOCAL_SESSION=(zrbsession --xmap "$DEMO_LOCAL/xmap" --settings "$DEMO_LOCAL/settings" --workdir "$DEMO_LOCAL/new")

step "10-11. a new part in the PDM, saved under a new number, changed, and the session saved locally"
"${LOCAL_SESSION[@]}" --trace-file "$WORK/trace-local.log" --script "$HERE/session-local.zrbs" \
  | tee "$WORK/session-local.log"

step "12. the session ended; a fresh session restores it and saves to the PDM from there"
"${LOCAL_SESSION[@]}" --trace-file "$WORK/trace-restore.log" --script "$HERE/session-restore.zrbs" \
  | tee "$WORK/session-restore.log"
step "the PDM's journal of the second half: create, its follow-on update, save-as, and the update after the restore"
pdmsim journal | tail -n 4

step "13. where to look"
echo "  exchange map:      $WORK/xmap"
echo "  vault:             $PDMSIM_VAULT   (pdmsim vault ls | vault show Assembly | journal)"
echo "  session log:       $WORK/session-read.log"
echo "  local session:     $WORK/local/xmap/session.zrbsession   (logs: session-local.log, session-restore.log)"
echo "  module trace:      $WORK/trace-read.log   (the read and add-temporary, method by method)"
echo "  session as JSON:   $WORK/session.json"
echo "  picture:           $WORK/assembly.svg   (zrbsession: geometry PART FILE.stl, view FILE.svg)"
echo "  try it yourself:   PDMSIM_VAULT=$PDMSIM_VAULT $BIN/zrbsession --xmap $WORK/xmap --settings $WORK/settings   (then: help)"
