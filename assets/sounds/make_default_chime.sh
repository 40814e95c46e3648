#!/bin/sh
# Makes the program's default voice prompt: a soft two-tone chime of about
# 1.5 seconds (E5 then C5, a falling major third), each note a sine with two
# quieter harmonics, a 10 ms attack so it does not click, a long logarithmic
# decay that reads as a bell's, and a little reverb. Made here from nothing
# but sox and lame so no sound file from elsewhere is ever shipped.
# Usage: make_default_chime.sh OUTPUT.mp3
set -eu

out=${1:?usage: make_default_chime.sh OUTPUT.mp3}
work=$(mktemp -d "${TMPDIR:-/tmp}/olvo-chime.XXXXXX")
trap 'rm -rf "$work"' EXIT INT TERM

rate=44100
# The same bytes on every build: no random dither.
SOX_OPTS="-R"
export SOX_OPTS

# One bell-like note: fundamental, octave and twelfth mixed down to mono,
# fading in over 10 ms and decaying over the rest of its length.
note() {  # fundamental octave twelfth length output
    sox -n -r $rate -c 1 -b 16 "$5" synth "$4" sine "$1" sine "$2" sine "$3" \
        remix 1v0.70,2v0.22,3v0.08 \
        fade l 0.01 "$4" "$(awk "BEGIN { print $4 - 0.01 }")"
}

note 659.26 1318.51 1977.77 0.90 "$work/high.wav"
note 523.25 1046.50 1569.75 1.12 "$work/low.wav"

# The second note starts 0.38 s after the first, so the mix is 1.5 s long;
# it is given a short room, a last short fade so the reverb ends in
# silence, and brought to -3 dBFS (headroom for the encoder).
sox "$work/low.wav" "$work/low_late.wav" pad 0.38 0
sox -m "$work/high.wav" "$work/low_late.wav" "$work/mix.wav"
sox "$work/mix.wav" "$work/chime.wav" \
    reverb 18 50 40 \
    fade t 0 1.5 0.12 \
    gain -n -3

lame --quiet --noreplaygain -b 128 -m m "$work/chime.wav" "$out"
