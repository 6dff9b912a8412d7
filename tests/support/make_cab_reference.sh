#!/bin/sh
# Extracts the valid test cabinets with cabextract into OUT/<key>, the reference that
# the cabinet reader's results are compared with where cabextract cannot run (the
# Windows build under Wine reads it through RZ_CAB_REFERENCE_DIR=OUT).
# Usage: make_cab_reference.sh OUT [CABINET_DIR]
set -eu
out=$1
here=$(cd "$(dirname "$0")" && pwd)
data=${2:-$here/../../../shared/testdata/cabinets}

rm -rf "$out"
mkdir -p "$out"
for key in cabs__large-files-cab cabd__mszip_lzx_qtm cabd__normal_2files_2folders \
           cabd__normal_2files_1folder cabd__reserve_HFD cabd__normal_255c_filename; do
  cabextract -q -d "$out/$key" "$data/$key.cab"
done

# Cabinet sets, copied under the names their headers use (as the tests do).
sets=$(mktemp -d)
trap 'rm -rf "$sets"' EXIT
mkdir "$sets/multi" "$sets/split"
for n in 1 2 3 4 5; do
  cp "$data/cabd__multi_basic_pt$n.cab" "$sets/multi/cabd_multi_basic_pt$n.cab"
  cp "$data/cabs__split-$n.cab" "$sets/split/Split-$n.CAB"
done
cabextract -q -d "$out/set-multi_basic" "$sets/multi/cabd_multi_basic_pt1.cab"
cabextract -q -d "$out/set-split" "$sets/split/Split-1.CAB"
