#!/bin/sh
# Installs the build into a staging directory and checks that a desktop would
# find everything there, valid: the programs, the launcher, the software-centre
# description, the icon in every size, the manual pages, the bash completion,
# and the file type of maps with its icon and thumbnailer.
#   test_install.sh BUILD_DIR STAGE_DIR [CMAKE]
set -eu
build="$1"
stage="$2"
cmake="${3:-cmake}"
id=org.vellumor.Vellumor

rm -rf "$stage"
"$cmake" --install "$build" --prefix "$stage" >/dev/null

failed=0
fail() {
    echo "FAIL: $*" >&2
    failed=1
}

for program in vellumor vellumor-map; do
    [ -x "$stage/bin/$program" ] || fail "bin/$program is missing or not executable"
done
desktop="$stage/share/applications/$id.desktop"
metainfo="$stage/share/metainfo/$id.metainfo.xml"
[ -f "$desktop" ] || fail "the launcher $desktop is missing"
[ -f "$metainfo" ] || fail "the description $metainfo is missing"
for map in town castle desert-fort; do
    [ -f "$stage/share/doc/vellumor/examples/$map.map" ] || fail "sample map $map.map is missing"
done
[ -f "$stage/share/doc/vellumor/LICENSE" ] || fail "the licence is missing"

# Each icon is a PNG of the size its folder promises: the width and height
# stand in bytes 17 to 24 of the header.
check_png() { # check_png FILE SIZE
    if [ ! -f "$1" ]; then
        fail "$1 is missing"
        return
    fi
    signature=$(od -An -tx1 -N8 "$1" | tr -d ' \n')
    [ "$signature" = 89504e470d0a1a0a ] || fail "$1 is not a PNG"
    dimensions=$(od -An -tu1 -j16 -N8 "$1" | awk '{ print $3 * 256 + $4 "x" $7 * 256 + $8 }')
    [ "$dimensions" = "$2" ] || fail "$1 is $dimensions, not $2"
}
for size in 16 32 48 64 128 256; do
    check_png "$stage/share/icons/hicolor/${size}x${size}/apps/$id.png" "${size}x${size}"
    check_png "$stage/share/icons/hicolor/${size}x${size}/mimetypes/application-x-vellumor-map.png" \
        "${size}x${size}"
done
# The system builds its caches from the files; a package ships none of them.
for cache in "$stage/share/mime/mime.cache" "$stage/share/icons/hicolor/icon-theme.cache"; do
    [ ! -e "$cache" ] || fail "$cache is installed"
done

if [ -f "$desktop" ]; then
    desktop-file-validate "$desktop" || fail "desktop-file-validate rejects the launcher"
    grep -qx "Icon=$id" "$desktop" || fail "the launcher does not name the icon $id"
    grep -qx "Exec=vellumor" "$desktop" || fail "the launcher does not start vellumor"
fi
if [ -f "$metainfo" ]; then
    appstreamcli validate --no-net "$metainfo" || fail "appstreamcli rejects the description"
    grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" \
        || fail "the description does not name the launcher"
fi

# The manual pages render, and each describes its program; vellumor-map's
# also every command.
for program in vellumor vellumor-map; do
    page="$stage/share/man/man1/$program.1"
    if [ ! -f "$page" ]; then
        fail "the manual page $program.1 is missing"
        continue
    fi
    text=$(MANWIDTH=80 man -l "$page" 2>&1) || fail "man cannot render $program.1"
    echo "$text" | grep -q "^NAME" || fail "$program.1 has no NAME section"
    echo "$text" | grep -q -- "--version" || fail "$program.1 does not list --version"
done
for command in check render export import diff generate table; do
    MANWIDTH=80 man -l "$stage/share/man/man1/vellumor-map.1" 2>/dev/null \
        | grep -q "Usage: vellumor-map $command" || fail "vellumor-map.1 does not describe $command"
done

# The completion completes: commands, a command's options, and paper sizes.
completion="$stage/share/bash-completion/completions/vellumor-map"
if [ ! -f "$completion" ]; then
    fail "the bash completion of vellumor-map is missing"
elif [ -f /usr/share/bash-completion/bash_completion ]; then
    completes() { # completes WORD... : what completing the last word offers
        bash -c '. /usr/share/bash-completion/bash_completion; . "$0"
            COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); COMP_LINE="$*"; COMP_POINT=${#COMP_LINE}
            _vellumor_map; echo "${COMPREPLY[*]}"' "$completion" "$@"
    }
    [ "$(completes vellumor-map ex)" = export ] || fail "completion: 'ex' does not give export"
    completes vellumor-map export town.map --gr | grep -q -- "--grid-size" \
        || fail "completion: export does not offer --grid-size"
    [ "$(completes vellumor-map export a.map --paper l)" = letter ] \
        || fail "completion: --paper does not offer letter"
    [ "$(completes vellumor-map lint a.map --format j)" = json ] \
        || fail "completion: lint --format does not offer json"
    [ "$(completes vellumor-map generate ca)" = castle ] \
        || fail "completion: generate does not offer its kinds"
else
    bash -n "$completion" || fail "the bash completion is not valid bash"
fi

# The file type: a map is known by its name, and by its content alone; other
# text is not taken for a map. Checked with a MIME database built in a copy.
mime="$stage/share/mime/packages/vellumor.xml"
if [ ! -f "$mime" ]; then
    fail "the file type $mime is missing"
elif command -v update-mime-database >/dev/null && command -v gio >/dev/null; then
    data="$stage/mime-check"
    rm -rf "$data"
    mkdir -p "$data/mime/packages" "$data/files"
    cp "$mime" /usr/share/mime/packages/freedesktop.org.xml "$data/mime/packages/"
    update-mime-database "$data/mime" || fail "update-mime-database rejects vellumor.xml"
    cp "$stage/share/doc/vellumor/examples/castle.map" "$data/files/castle.map"
    cp "$stage/share/doc/vellumor/examples/castle.map" "$data/files/castle"
    printf '12 angry men\r\n' >"$data/files/notes"
    type_of() {
        XDG_DATA_DIRS="$data" XDG_DATA_HOME="$data" GIO_USE_VFS=local \
            gio info --attributes=standard::content-type "$1" | sed -n 's/^ *standard::content-type: //p'
    }
    [ "$(type_of "$data/files/castle.map")" = application/x-vellumor-map ] \
        || fail "castle.map is not taken for a map"
    [ "$(type_of "$data/files/castle")" = application/x-vellumor-map ] \
        || fail "a map without a suffix is not known by its content"
    [ "$(type_of "$data/files/notes")" = text/plain ] || fail "other text is taken for a map"
fi

# The thumbnailer's command, as a file manager fills it in, writes a PNG no
# larger than asked, whatever the output's name.
thumbnailer="$stage/share/thumbnailers/vellumor.thumbnailer"
if [ ! -f "$thumbnailer" ]; then
    fail "the thumbnailer $thumbnailer is missing"
else
    grep -qx 'TryExec=vellumor-map' "$thumbnailer" || fail "the thumbnailer does not try vellumor-map"
    grep -qx 'MimeType=application/x-vellumor-map;' "$thumbnailer" \
        || fail "the thumbnailer does not name the file type"
    command=$(sed -n 's/^Exec=vellumor-map //p' "$thumbnailer" | sed -e 's|%s|128|' \
        -e "s|%i|$stage/share/doc/vellumor/examples/town.map|" -e "s|%o|$stage/thumbnail|")
    rm -f "$stage/thumbnail"
    # shellcheck disable=SC2086 # split into words as a file manager does
    "$stage/bin/vellumor-map" $command || fail "the thumbnailer's command fails"
    check_png "$stage/thumbnail" 128x93
fi

# The installed companion runs on its own, without the build tree.
"$stage/bin/vellumor-map" check "$stage/share/doc/vellumor/examples/town.map" >/dev/null \
    || fail "the installed vellumor-map cannot check a sample map"

exit $failed
