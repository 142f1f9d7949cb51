#!/bin/sh
# Every language of the desktop program complete: lupdate reads the texts of
# the program's and the framework's sources, and those marked with TEXT_ID in
# net/, protocol/ and ops/, into a copy of each .ts file, as an update would;
# a text without a finished translation (new or unfinished) or a translation
# whose text has gone (vanished, obsolete) fails the check.
#   sh scripts/check_translations.sh [LUPDATE] [SOURCE_DIR]
set -eu
lupdate=${1:-/usr/lib/qt6/bin/lupdate}
root=${2:-$(dirname "$0")/..}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cp "$root"/ui/translations/*.ts "$tmp"/
if ! "$lupdate" -locations none -tr-function-alias QT_TRANSLATE_NOOP+=TEXT_ID \
	"$root/framework" "$root/ui" "$root/net" "$root/protocol" "$root/ops" -ts "$tmp"/*.ts >"$tmp/lupdate.log" 2>&1; then
	cat "$tmp/lupdate.log"
	exit 1
fi
status=0
for ts in "$tmp"/*.ts; do
	name=$(basename "$ts")
	texts=$(grep -c '<source>' "$ts" || true)
	unfinished=$(grep -c 'type="unfinished"' "$ts" || true)
	gone=$(grep -cE 'type="(vanished|obsolete)"' "$ts" || true)
	empty=$(grep -cE '<translation>\s*</translation>|<translation/>' "$ts" || true)
	echo "$name: $texts texts, $unfinished unfinished, $gone vanished, $empty empty"
	if [ "$unfinished" -ne 0 ] || [ "$gone" -ne 0 ] || [ "$empty" -ne 0 ]; then
		status=1
		grep -B2 -E 'type="(unfinished|vanished|obsolete)"' "$ts" | grep '<source>' | sed 's/^ */    /'
	fi
done
[ "$status" -eq 0 ] || echo "Translate the texts above: docs/translating.md"
exit $status
