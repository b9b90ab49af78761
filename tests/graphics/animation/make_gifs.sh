#!/bin/sh
# Writes small animated GIFs, one per disposal method, into the folder $2 with the
# ImageMagick convert program $1. Every frame after the first covers part of the canvas
# and has transparent pixels, so that the disposal of the frame before shows.
set -e
convert="$1"
out="$2"

frames() {
    dispose="$1"
    first="${3:-$1}"  # the disposal of frame 0
    # Frame 0: the whole canvas; frames 1 and 2: smaller patches with a transparent hole.
    "$convert" -dispose "$first" -delay 10 -size 16x12 xc:'#2040c0' \
        -dispose "$dispose" -delay 0 \
        \( -size 8x6 xc:'#e02020' -fill none -draw 'color 2,2 point' -draw 'rectangle 5,1 6,4' \
           -repage 16x12+2+3 \) \
        -dispose "$dispose" -delay 30 \
        \( -size 6x6 xc:'#20c040' -fill none -draw 'rectangle 0,0 2,2' -repage 16x12+7+4 \) \
        -dispose "$dispose" -delay 20 \
        \( -size 5x4 xc:'#f0e010' -repage 16x12+0+0 \) \
        "$out/$2.gif"
}

frames Undefined unspecified
frames None donotdispose
frames Background background
# Restoring to the canvas before the first frame is read differently by decoders (ImageMagick
# keeps the first frame); later frames restore to what the first one left.
frames Previous previous None

# With "coalesce" as $3, also the frames ImageMagick composes, as NAME-N.png beside each GIF,
# for test programs that cannot run convert themselves.
if [ "${3:-}" = coalesce ]; then
    for gif in "$out"/*.gif; do
        "$convert" "$gif" -coalesce "PNG32:${gif%.gif}-%d.png"
    done
fi
