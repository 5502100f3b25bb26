#!/usr/bin/env bash
# Writes the fuzz corpus: tiny clips of ffmpeg's own test pattern in the common containers
# and codecs, and one cut short. Run from the repository root: bash fuzz/video/make_corpus.sh
set -euo pipefail
out=fuzz/video/corpus
mkdir -p "$out"
make() {
    local name=$1
    shift
    ffmpeg -nostdin -hide_banner -loglevel error -y -f lavfi -i testsrc=s=16x12:r=10:d=0.3 \
        -pix_fmt yuv420p "$@" -fflags +bitexact -flags:v +bitexact "$out/$name"
}
make h264_16x12.mp4 -c:v libx264 -preset ultrafast -g 2
make vp9_16x12.webm -c:v libvpx-vp9 -deadline realtime
make vp8_16x12.mkv -c:v libvpx
make mpeg4_16x12.avi -c:v mpeg4
make mpeg2_16x12.ts -c:v mpeg2video
make mjpeg_16x12.mov -c:v mjpeg -pix_fmt yuvj420p
make av1_16x12.mkv -c:v libaom-av1 -cpu-used 8 -row-mt 1
head -c 600 "$out/h264_16x12.mp4" > "$out/h264_cut_short.mp4"
