#!/bin/sh
# Turns a map layout into a Vellumor map file:
#   examples/make-map.sh LAYOUT.txt > MAP.map
# A layout shows the map as it looks: 25 rows of 35 symbol codes, top row
# first, separated by blanks; "." stands for the Blank symbol (0) and lines
# starting with "#" are comments. The map file lists the cells column by
# column from the left, each column from the bottom row up, one code and CR LF
# a line.
set -eu
if [ $# -ne 1 ]; then
    echo "usage: $0 LAYOUT.txt > MAP.map" >&2
    exit 2
fi
exec awk -v layout="$1" '
    /^#/ || NF == 0 { next }
    {
        rows++
        if (rows > 25) { print layout ": more than 25 rows" > "/dev/stderr"; failed = 1; exit 1 }
        if (NF != 35) {
            print layout ":" NR ": " NF " codes, not 35" > "/dev/stderr"; failed = 1; exit 1
        }
        for (column = 1; column <= 35; column++) {
            code = $column
            if (code == ".") code = 0
            if (code !~ /^[0-9]+$/ || code + 0 > 64) {
                print layout ":" NR ": \"" $column "\" is no symbol code" > "/dev/stderr"
                failed = 1; exit 1
            }
            cell[column, rows] = code + 0
        }
    }
    END {
        if (failed) exit 1
        if (rows != 25) { print layout ": " rows " rows, not 25" > "/dev/stderr"; exit 1 }
        for (column = 1; column <= 35; column++)
            for (row = 25; row >= 1; row--)
                printf "%d\r\n", cell[column, row]
    }
' "$1"
