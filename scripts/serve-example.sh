#!/bin/sh
# Serves the example answers of examples/server/ on 127.0.0.1 for trying the
# online services: update check, news and the advertisement feed.
#
#   scripts/serve-example.sh [PORT]        (default 8080)
#   OLVO_SERVER=http://127.0.0.1:PORT/ build/bin/olvo-reminder
#
# The answers are copied into a temporary folder (removed on exit), the ad
# pictures rendered there from their SVG sources with rsvg-convert, and the
# addresses inside the answers pointed at the chosen port.
set -eu

port="${1:-8080}"
case "$port" in
    '' | *[!0-9]*) echo "usage: $0 [PORT]" >&2; exit 2 ;;
esac
if [ "$port" -lt 1 ] || [ "$port" -gt 65535 ]; then
    echo "$0: port must be 1 to 65535" >&2
    exit 2
fi
for tool in python3 rsvg-convert; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "$0: $tool is missing (scripts/setup.sh installs it)" >&2
        exit 1
    fi
done

source_dir="$(cd "$(dirname "$0")/.." && pwd)/examples/server"
root="$(mktemp -d "${TMPDIR:-/tmp}/olvo-example-server.XXXXXX")"
server=""
trap 'rm -rf "$root"' EXIT
# The server runs in the background so that a signal to this script (not
# only Ctrl-C to the whole terminal group) stops it too.
trap '[ -z "$server" ] || kill "$server" 2>/dev/null; exit 130' INT TERM

cp -R "$source_dir/." "$root/"
mkdir -p "$root/ad/img"
for svg in "$source_dir"/ad/svg/*.svg; do
    name="$(basename "$svg" .svg)"
    rsvg-convert -o "$root/ad/img/$name.png" "$svg"
done
rm -rf "$root/ad/svg"
for answer in update/ormverinfo.htm news/orminfo.htm news/msg.html ad/ad1.php; do
    sed -i "s|http://127\.0\.0\.1:8080/|http://127.0.0.1:$port/|g" "$root/$answer"
done

echo "Example server on http://127.0.0.1:$port/ (Ctrl-C stops it)"
echo "Start the program with: OLVO_SERVER=http://127.0.0.1:$port/ build/bin/olvo-reminder"
python3 -m http.server --bind 127.0.0.1 --directory "$root" "$port" &
server=$!
wait "$server"
