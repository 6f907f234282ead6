#!/usr/bin/env bash
# hostile-folders.sh DIR: writes result folders that stress the readers the
# way a big model, a careless copy or an attacker does, each beside the
# intact folder DIR/base (veltra-sample's cantilever). The big files are
# sparse (truncate): they take next to no disk, but their sizes back the
# counts that comdin.dat names. Run the tools on them under a limit, e.g.
#   (ulimit -v 1310720; timeout 20 veltra-info DIR/nodes-40m)
#
#   nodes-40m         node_count 40,000,000; x.unf, nei.unf, u01.unf sized to fit
#   elements-2g       element_count 2,147,483,647; el.unf holds step 0
#   elements-400m     element_count 400,000,000; nei.unf sized to fit
#   width-400m        incidence_width 400,000,000; nei.unf sized to fit
#   comdin-4g         comdin.dat extended with zero bytes to 4 GiB
#   escape-<ESC>[31m<LF>name   a folder whose name holds control bytes (no u01.unf)
#   cr-only           comdin.dat with CR line ends
#   bom               comdin.dat with a UTF-8 byte-order mark
#   inf-x-node-1      +Inf as coordinate 1 of node 1
#   nan-u01-node-1    NaN as displacement 1 of node 1 at step 0
#   no-steps          stored step count 0
#   u01-50g           u01.unf of 50 GB and a stored step count that fills it
set -euo pipefail
dir="${1:?usage: hostile-folders.sh DIR}"
root="$(cd "$(dirname "$0")/.." && pwd)"
sample="${VELTRA_SAMPLE:-$root/build/bin/veltra-sample}"
"$sample" --kind cantilever "$dir/base" >/dev/null
base="$dir/base"

# copy NAME: DIR/NAME as a copy of the intact folder.
copy() { rm -rf "${dir:?}/$1"; cp -r "$base" "$dir/$1"; }
# sizes NAME "8 integers": replaces the sizes line of comdin.dat.
sizes() { sed -i "1s/.*/ $2/" "$dir/$1/comdin.dat"; }
# points NAME N: the number of stored time points (group 5, its 4th value).
points() { sed -i "5s/^\( *[^ ]* *[^ ]* *[^ ]* *\)[0-9]*/\1$2/" "$dir/$1/comdin.dat"; }
# f32 FILE OFFSET HEX: writes the 4 bytes HEX (little-endian) at OFFSET.
f32() { printf "$3" | dd of="$1" bs=1 seek="$2" conv=notrunc status=none; }

copy nodes-40m
sizes nodes-40m "40000000 1 0 4 2 2 1 1"
truncate -s $((40000000 * 32)) "$dir/nodes-40m/x.unf"
truncate -s $((40000000 * 16)) "$dir/nodes-40m/nei.unf"
truncate -s $((40000000 * 64 * 121)) "$dir/nodes-40m/u01.unf"

copy elements-2g
sizes elements-2g "5 1 0 2147483647 2 2 1 1"
truncate -s $((2147483647 * 144)) "$dir/elements-2g/el.unf"

copy elements-400m
sizes elements-400m "5 1 0 400000000 2 2 1 1"
truncate -s $((400000000 * 4 + 100)) "$dir/elements-400m/nei.unf"

copy width-400m
sizes width-400m "5 1 0 4 2 400000000 1 1"
truncate -s $((5 * (400000000 * 4 + 8))) "$dir/width-400m/nei.unf"

copy comdin-4g
truncate -s $((4 << 30)) "$dir/comdin-4g/comdin.dat"

escape="$dir/escape-"$'\e[31m\n'"name"
rm -rf "$escape"; cp -r "$base" "$escape"; rm "$escape/u01.unf"

copy cr-only
sed -i 's/$/\r/' "$dir/cr-only/comdin.dat"
tr -d '\n' <"$dir/cr-only/comdin.dat" >"$dir/cr-only/comdin.tmp"
mv "$dir/cr-only/comdin.tmp" "$dir/cr-only/comdin.dat"

copy bom
{ printf '\xef\xbb\xbf'; cat "$base/comdin.dat"; } >"$dir/bom/comdin.dat"

copy inf-x-node-1
f32 "$dir/inf-x-node-1/x.unf" 0 '\x00\x00\x80\x7f'

copy nan-u01-node-1
f32 "$dir/nan-u01-node-1/u01.unf" 0 '\x00\x00\xc0\x7f'

copy no-steps
points no-steps 0

copy u01-50g
# Steps of 5 records of 64 bytes: 50 GB hold 156,250,000 of them.
points u01-50g 156250000
truncate -s 50000000000 "$dir/u01-50g/u01.unf"
