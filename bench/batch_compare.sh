#!/usr/bin/env bash
# Times the batch conversion worker against ImageMagick on the same generated
# sets, in one run: 1000 2003 sheets of eight (2003 to XP) and 1000 XP
# singles (XP to VX). Prints "name ours_ms im_ms ratio" per set, with the
# ratio ImageMagick's time over ours, then the number of ImageMagick
# commands and of differing pixels per set, the worst ratio, the XP-to-2003
# throughput and the time of the overwrite prediction.
# The sets live on a memory file system where there is one, so that the
# comparison measures the pixel work: our saves wait for the disk (a failed
# save must never leave a damaged file) and ImageMagick's do not. Our time
# for the XP set on disk is printed too.
# Then the tileset merge of 50 tilesets of 256 x 4096 against one ImageMagick
# append: "merge ours_ms im_ms ratio", the pixels that differ in any of the
# four channels, our phase split and our peak memory. It stays out of the
# worst ratio, whose target is the conversion's.
#   bench/batch_compare.sh [runs]   (default 5)
set -euo pipefail
cd "$(dirname "$0")/.."
runs="${1:-5}"
bash scripts/deps.sh --tests --bench-peer
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DSK_SANITIZE=OFF >/dev/null
cmake --build build -- -j4 bench_batch >/dev/null

export QT_QPA_PLATFORM=offscreen
tool="$PWD/build/bench_batch"
shm=/dev/shm
[ -d "$shm" ] && [ -w "$shm" ] || shm=/tmp
work=$(mktemp -d -p "$shm")
disk=$(mktemp -d)
trap 'rm -rf "$work" "$disk"' EXIT
"$tool" inputs "$work" 2>/dev/null
argmax=$(getconf ARG_MAX)

worst=0
for set in "sheets 0 XP_CONVERSIONS dir0_2003_to_xp" "xp 3 VX_CONVERSIONS dir3_xp_to_vx"; do
  read -r folder direction sub name <<<"$set"
  read -r im_ms commands < <(/usr/bin/python3 bench/batch_peer.py "$folder" "$work/$folder" "$work/im_$folder" "$argmax")
  ours_ms=$("$tool" convert "$work/$folder" "$direction" "$runs" 2>/dev/null)
  read -r files peer_files differing < <("$tool" compare "$work/$folder/$sub" "$work/im_$folder" 2>/dev/null)
  ratio=$(awk -v o="$ours_ms" -v p="$im_ms" 'BEGIN { printf "%.3f", p / o }')
  echo "$name $ours_ms $im_ms $ratio"
  echo "${name}_im_commands $commands"
  echo "${name}_differing_pixels $differing (files $files ours, $peer_files ImageMagick)"
  worst=$(awk -v w="$worst" -v r="$ratio" 'BEGIN { print (w == 0 || r < w) ? r : w }')
done
echo "worst $worst"

"$tool" tilesets "$work/tilesets" 2>/dev/null
read -r merge_im_ms _ < <(/usr/bin/python3 bench/batch_peer.py merge "$work/tilesets" "$work/im_merge" "$argmax")
{ read -r merge_ms; read -r merge_phases; read -r merge_peak; } < <("$tool" merge "$work/tilesets" "$work/merge.png" "$runs" 2>/dev/null)
merge_differing=$("$tool" compare-exact "$work/merge.png" "$work/im_merge/out.png" 2>/dev/null)
echo "merge $merge_ms $merge_im_ms $(awk -v o="$merge_ms" -v p="$merge_im_ms" 'BEGIN { printf "%.3f", p / o }')"
echo "merge_differing_pixels $merge_differing (all four channels)"
echo "merge_phases $merge_phases"
echo "merge_peak_memory $merge_peak"
rm -rf "$work/tilesets" "$work/im_merge" "$work/merge.png"

cp -r "$work/xp" "$disk/"
rm -rf "$disk/xp/VX_CONVERSIONS"
echo "dir3_xp_to_vx_on_disk_ours_ms $("$tool" convert "$disk/xp" 3 "$runs" 2>/dev/null)"

d2_ms=$("$tool" convert "$work/xp" 2 "$runs" 2>/dev/null)
awk -v ms="$d2_ms" 'BEGIN { printf "dir2_xp_to_2003_files_per_s %.1f\n", 1000 * 1000 / ms }'
read -r predict_ms names < <("$tool" predict "$work/sheets" 0 2>/dev/null)
echo "predict_ms $predict_ms ($names names)"
