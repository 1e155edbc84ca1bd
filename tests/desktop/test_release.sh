#!/bin/sh
# One version, one release story: the Debian changelog names CMake's project
# version, and the software-centre description's newest release has the date
# and the text of the changelog's newest entry.
#   test_release.sh SOURCE_DIR PROJECT_VERSION
set -eu
root="$1"
version="$2"
changelog="$root/debian/changelog"
metainfo="$root/desktop/org.vellumor.Vellumor.metainfo.xml"

failed=0
fail() {
    echo "FAIL: $*" >&2
    failed=1
}
# Text with its markup, bullets and line breaks taken out, spaces folded.
plain() {
    sed -e 's/<[^>]*>//g' -e 's/^ *\* //' | tr -s ' \n' '  ' | sed -e 's/^ *//' -e 's/ *$//'
}

# The newest entry: "vellumor (1.1) unstable; urgency=medium", its lines, and
# " -- Name <address>  Tue, 08 Dec 2026 12:00:00 +0000".
entry=$(sed -n '1,/^ -- /p' "$changelog")
changelog_version=$(echo "$entry" | sed -n '1s/^vellumor (\([^)]*\)).*/\1/p')
[ "$changelog_version" = "$version" ] \
    || fail "debian/changelog is at '$changelog_version', CMakeLists.txt at '$version'"
stamp=$(echo "$entry" | sed -n 's/^ -- .*>  //p')
changelog_date=$(date -u -d "$stamp" +%Y-%m-%d) || fail "no date in '$stamp'"
changelog_text=$(echo "$entry" | sed -e '1d' -e '$d' | plain)

# The newest <release>, the first in the file.
release=$(awk '/<release /, /<\/release>/ { print } /<\/release>/ { exit }' "$metainfo")
release_version=$(echo "$release" | sed -n 's/.*<release version="\([^"]*\)".*/\1/p')
release_date=$(echo "$release" | sed -n 's/.*<release [^>]*date="\([^"]*\)".*/\1/p')
release_text=$(echo "$release" | sed -n '/<p>/,/<\/p>/p' | plain)
[ "$release_version" = "$version" ] || fail "the newest release is '$release_version', not '$version'"
[ "$release_date" = "$changelog_date" ] \
    || fail "the release is dated '$release_date', the changelog '$changelog_date'"
if [ -z "$changelog_text" ] || [ "$release_text" != "$changelog_text" ]; then
    fail "the release says '$release_text', the changelog '$changelog_text'"
fi

exit $failed
