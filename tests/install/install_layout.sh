#!/usr/bin/env bash
# install_layout: installs a build with `cmake --install` into a temporary root (DESTDIR)
# and checks that every file lands where the freedesktop desktop and the program itself
# look for it: the programs in the binary folder (and that they run from there), the sounds
# under the configured data folder, the hicolor icons of the application and of the game
# file type, the desktop entry, the MIME type (glob and magic, looked up in a database
# built by update-mime-database), the AppStream metainfo, the manual pages, the copyright
# file (with the About box's notice) and the changelog (of the installed version). Runs the
# freedesktop validators when they are installed. Needs no root, network or display.
#
# Usage: install_layout.sh BUILD_DIR PREFIX BINDIR DATADIR MANDIR MIMELOOKUP
#   (PREFIX and the folders as configured, absolute; MIMELOOKUP the tst_mimelookup program)
# With a Debian package (a .deb) in place of BUILD_DIR, the package is unpacked into the
# temporary root instead, as dpkg would install it, and its control fields are checked too.
set -euo pipefail

if [ $# -ne 6 ]; then
    echo "usage: $0 BUILD_DIR PREFIX BINDIR DATADIR MANDIR MIMELOOKUP" >&2
    exit 2
fi
build=$1 prefix=$2 bindir=$3 datadir=$4 mandir=$5 mimelookup=$6

app_id=example.torva.turnpicker
desktop_id=turnpicker.desktop
mime_type=application/x-torva-turnpicker
mime_icon=${mime_type//\//-}
sizes=(16 24 32 48 64 128 256)

work=$(mktemp -d "${TMPDIR:-/tmp}/tfp-install.XXXXXX")
trap 'rm -rf "$work"' EXIT
root=$work/root
# A home of its own: no real user settings, caches or data are read or written.
export HOME=$work/home
export XDG_CONFIG_HOME=$HOME/.config XDG_DATA_HOME=$HOME/.local/share
export XDG_CACHE_HOME=$HOME/.cache XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
pass() { echo "ok: $*"; }
skip() { echo "skipped: $*"; }
have() { command -v "$1" >/dev/null 2>&1; }

# file(1)'s description of a file, or empty when file is not installed.
describe() {
    if have file; then
        file -b "$1"
    fi
}

expect_file() { # PATH DESCRIPTION-PATTERN (grep -E, may be empty)
    local path=$1 pattern=${2:-}
    if [ ! -f "$root$path" ]; then
        fail "$path is not installed"
        return
    fi
    if [ -n "$pattern" ] && have file; then
        local what
        what=$(describe "$root$path")
        if ! grep -Eq "$pattern" <<<"$what"; then
            fail "$path is '$what', expected /$pattern/"
            return
        fi
    fi
    pass "$path"
}

# The value of KEY in the [Desktop Entry] group of a desktop entry.
desktop_value() { # FILE KEY
    awk -v key="$2" '
        /^\[/ { group = $0; next }
        group == "[Desktop Entry]" && index($0, key "=") == 1 {
            print substr($0, length(key) + 2); exit
        }' "$1"
}

if [[ $build == *.deb ]]; then
    echo "== unpacking $build into $root"
    if ! dpkg-deb -x "$build" "$root" >"$work/install.log" 2>&1; then
        cat "$work/install.log"
        echo "FAIL: dpkg-deb -x"
        exit 1
    fi
    echo "== package fields"
    for field in Package Version Architecture Maintainer Description; do
        if [ -n "$(dpkg-deb -f "$build" "$field")" ]; then
            pass "the package has its $field"
        else
            fail "the package has no $field"
        fi
    done
    # Debian keeps the programs of section "games" in /usr/games; these are in /usr/bin.
    section=$(dpkg-deb -f "$build" Section)
    if [ -n "$section" ] && [ "$section" != games ]; then
        pass "the package is in section $section"
    else
        fail "the package's section '$section' does not fit programs in $bindir"
    fi
    depends=$(dpkg-deb -f "$build" Depends)
    # The Qt libraries, and the fonts the windows ask for: Arial's metrics and sans-serif.
    for package in libqt6core6 libqt6gui6 libqt6widgets6 fonts-liberation2 fonts-dejavu-core; do
        if grep -q "$package" <<<"$depends"; then
            pass "the package depends on $package"
        else
            fail "the package does not depend on $package (Depends: $depends)"
        fi
    done
else
    echo "== installing $build into $root"
    if ! DESTDIR=$root cmake --install "$build" >"$work/install.log" 2>&1; then
        cat "$work/install.log"
        echo "FAIL: cmake --install"
        exit 1
    fi
fi

echo "== nothing outside the prefix"
outside=$(find "$root" \( -type f -o -type l \) ! -path "$root$prefix/*")
if [ -n "$outside" ]; then
    fail "installed outside $prefix: ${outside//$root/}"
else
    pass "every file is under $prefix"
fi

echo "== programs"
for program in turnpicker turnpicker-cli; do
    if [ -x "$root$bindir/$program" ] && [ -f "$root$bindir/$program" ]; then
        pass "$bindir/$program"
    else
        fail "$bindir/$program is not an installed program"
        continue
    fi
    # Only system libraries: no search path that makes the loader probe other folders.
    if have readelf; then
        search_path=$(readelf -d "$root$bindir/$program" | grep -E '\((RPATH|RUNPATH)\)' || true)
        if [ -z "$search_path" ]; then
            pass "$bindir/$program has no library search path"
        else
            fail "$bindir/$program carries a library search path: ${search_path##*: }"
        fi
    else
        skip "readelf not installed"
    fi
done

echo "== sounds"
sounds=$datadir/turnpicker/Sounds
for sound in Event NextTurn EndGame; do
    expect_file "$sounds/$sound.wav" 'WAVE audio'
done
# The program looks in the data folder it was configured with; the path is a string in it
# (UTF-16 for a QStringLiteral, so look in both widths).
if have strings && [ -f "$root$bindir/turnpicker" ]; then
    if { strings -a -el "$root$bindir/turnpicker"; strings -a "$root$bindir/turnpicker"; } |
        grep -Fx "$datadir" >/dev/null; then
        pass "turnpicker looks for its sounds under $datadir"
    else
        fail "turnpicker does not name $datadir, where its sounds are installed"
    fi
else
    skip "strings not installed"
fi

echo "== icons"
icons=$datadir/icons/hicolor
for size in "${sizes[@]}"; do
    expect_file "$icons/${size}x$size/apps/turnpicker.png" "PNG image data, $size x $size,"
    expect_file "$icons/${size}x$size/mimetypes/$mime_icon.png" "PNG image data, $size x $size,"
done
expect_file "$icons/scalable/apps/turnpicker.svg" 'SVG'
expect_file "$icons/scalable/mimetypes/$mime_icon.svg" 'SVG'

echo "== desktop entry"
desktop=$datadir/applications/$desktop_id
expect_file "$desktop"
if [ -f "$root$desktop" ]; then
    exec_line=$(desktop_value "$root$desktop" Exec)
    exec_program=${exec_line%% *}
    if [ "$exec_line" = "turnpicker %f" ] && [ -x "$root$bindir/$exec_program" ]; then
        pass "Exec=$exec_line runs $bindir/$exec_program"
    else
        fail "Exec=$exec_line does not run an installed program with one file"
    fi
    icon=$(desktop_value "$root$desktop" Icon)
    if [ -n "$icon" ] && [ -f "$root$icons/48x48/apps/$icon.png" ] &&
        [ -f "$root$icons/scalable/apps/$icon.svg" ]; then
        pass "Icon=$icon is in the hicolor theme"
    else
        fail "Icon=$icon names no installed hicolor icon"
    fi
    mime_types=$(desktop_value "$root$desktop" MimeType)
    if [[ ";$mime_types" == *";$mime_type;"* ]]; then
        pass "MimeType= names $mime_type"
    else
        fail "MimeType=$mime_types does not name $mime_type"
    fi
    categories=$(desktop_value "$root$desktop" Categories)
    if [[ ";$categories" == *";Game;"* && ";$categories" == *";StrategyGame;"* ]]; then
        pass "Categories=$categories"
    else
        fail "Categories=$categories lacks Game;StrategyGame;"
    fi
    if have desktop-file-validate; then
        if desktop-file-validate "$root$desktop"; then
            pass "desktop-file-validate"
        else
            fail "desktop-file-validate $desktop"
        fi
    else
        skip "desktop-file-validate not installed"
    fi
fi

echo "== metainfo"
metainfo=$datadir/metainfo/$app_id.metainfo.xml
expect_file "$metainfo"
if [ -f "$root$metainfo" ]; then
    if grep -Fq "<id>$app_id</id>" "$root$metainfo"; then
        pass "component id $app_id matches the file name"
    else
        fail "$metainfo does not have the id $app_id"
    fi
    if grep -Fq "<launchable type=\"desktop-id\">$desktop_id</launchable>" "$root$metainfo"; then
        pass "launchable $desktop_id"
    else
        fail "$metainfo does not launch $desktop_id"
    fi
    for binary in $(grep -o '<binary>[^<]*</binary>' "$root$metainfo" | sed 's/<[^>]*>//g'); do
        if [ -x "$root$bindir/$binary" ]; then
            pass "provides $binary"
        else
            fail "$metainfo provides $binary, which is not installed"
        fi
    done
    if have appstreamcli; then
        if appstreamcli validate --no-net "$root$metainfo"; then
            pass "appstreamcli validate"
        else
            fail "appstreamcli validate $metainfo"
        fi
    else
        skip "appstreamcli not installed"
    fi
fi

echo "== manual pages"
for program in turnpicker turnpicker-cli; do
    manual=$mandir/man1/$program.1.gz
    expect_file "$manual" 'gzip compressed'
    [ -f "$root$manual" ] || continue
    name_line=$(gzip -dc "$root$manual" | sed -n '/^\.SH NAME/{n;s/\\//g;p;q}')
    if [[ $name_line == "$program - "* ]]; then
        pass "$manual is the page of $program"
    else
        fail "$manual names '$name_line', not $program"
    fi
    if have groff; then
        warnings=$(gzip -dc "$root$manual" | groff -man -ww -z 2>&1)
        if [ -z "$warnings" ]; then
            pass "groff reads $manual without warnings"
        else
            fail "groff warns on $manual: $warnings"
        fi
    else
        skip "groff not installed"
    fi
done

echo "== copyright and changelog"
docdir=$datadir/doc/turnpicker
copyright=$docdir/copyright
expect_file "$copyright" 'text'
if [ -f "$root$copyright" ]; then
    if [ "$(head -n 1 "$root$copyright")" = \
        "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" ]; then
        pass "$copyright is in the machine-readable format"
    else
        fail "$copyright does not start with the machine-readable Format line"
    fi
    # The About box's notice, as the desktop program spells it (UTF-8, "©" included).
    notice=$(grep -m 1 -o 'Copyright © .*' "$root$copyright" || true)
    if [ -z "$notice" ]; then
        fail "$copyright states no copyright notice"
    elif [ -f "$root$bindir/turnpicker" ] && ! grep -aFq "$notice" "$root$bindir/turnpicker"; then
        fail "$copyright states '$notice', which the About box does not"
    else
        pass "$copyright states the About box's notice: $notice"
    fi
    if grep -q '^Files: \*$' "$root$copyright" && grep -q '^License: [^ ]' "$root$copyright" &&
        grep -q '^ [^ .]' "$root$copyright"; then
        pass "$copyright covers every file with the terms in full"
    else
        fail "$copyright lacks a Files: * paragraph with its licence text"
    fi
fi
changelog=$docdir/changelog.gz
expect_file "$changelog" 'gzip compressed'
if [ -f "$root$changelog" ] && [ -x "$root$bindir/turnpicker-cli" ]; then
    # The newest entry is of the version installed.
    logged=$(gzip -dc "$root$changelog" | sed -n '1s/^turnpicker (\([^)]*\)).*/\1/p')
    running=$("$root$bindir/turnpicker-cli" --version | awk '{print $2}')
    if [ -n "$logged" ] && [ "$logged" = "$running" ]; then
        pass "the changelog's newest entry is of version $running"
    else
        fail "the changelog's newest entry is of version '$logged', the programs are $running"
    fi
fi

echo "== the installed programs run"
game=$work/files/layout.tfp
mkdir -p "$work/files"
cli=$root$bindir/turnpicker-cli
if [ -x "$cli" ] && "$cli" new "$game" --game Layout --player1 Anna --player2 Ben \
    --turns 10 --modifier 2 >"$work/cli.log" 2>&1 && "$cli" info "$game" >>"$work/cli.log" 2>&1; then
    pass "turnpicker-cli new and info"
else
    cat "$work/cli.log" 2>/dev/null || true
    fail "the installed turnpicker-cli did not create and read a game"
fi
if [ -x "$root$bindir/turnpicker" ]; then
    if QT_QPA_PLATFORM=offscreen "$root$bindir/turnpicker" --smoke >"$work/smoke.log" 2>&1; then
        pass "turnpicker --smoke"
    else
        cat "$work/smoke.log"
        fail "the installed turnpicker --smoke"
    fi
fi

echo "== MIME type"
mime_package=$datadir/mime/packages/turnpicker.xml
expect_file "$mime_package" 'XML'
mime_dir=$root$datadir/mime
if [ -f "$mime_dir/packages/turnpicker.xml" ]; then
    if grep -Fq "<mime-type type=\"$mime_type\">" "$mime_dir/packages/turnpicker.xml"; then
        pass "the package defines $mime_type"
    else
        fail "$mime_package does not define $mime_type"
    fi
    # The database the file trigger of shared-mime-info builds from the packages; without
    # update-mime-database the lookup below reads the package itself.
    if have update-mime-database; then
        if update-mime-database "$mime_dir" >"$work/mime.log" 2>&1 && grep -Fxq "50:$mime_type:*.tfp" "$mime_dir/globs2" &&
            grep -Fq ":$mime_type]" "$mime_dir/magic"; then
            pass "update-mime-database: *.tfp and the banner magic name $mime_type"
        else
            cat "$work/mime.log"
            fail "update-mime-database does not give *.tfp and a magic rule to $mime_type"
        fi
    else
        skip "update-mime-database not installed"
    fi

    # The installed database alone, so a type installed on this system cannot stand in.
    lookup() { # [--content] FILE
        local name
        name=$(XDG_DATA_DIRS=$root$datadir "$mimelookup" "$@")
        echo "${name:-no known type}"
    }
    expect_type() { # WHAT EXPECTED ARGS...
        local what=$1 expected=$2 got
        shift 2
        got=$(lookup "$@")
        if [ "$got" = "$expected" ]; then
            pass "$what is $got"
        else
            fail "$what is $got, expected $expected"
        fi
    }
    if [ -f "$game" ]; then
        cp "$game" "$work/files/renamed.data"
        expect_type "a game file by name" "$mime_type" "$game"
        expect_type "a game file by its contents" "$mime_type" --content "$work/files/renamed.data"
    fi
    # Only the whole banner identifies a game: its rule alone, or text, do not.
    printf -- '%s\r\n%s\r\n' "$(printf -- '-%.0s' {1..63})" "--- Some other file ---" \
        >"$work/files/rule-only.data"
    got=$(lookup --content "$work/files/rule-only.data")
    if [ "$got" != "$mime_type" ]; then
        pass "a file with the rule but another title is $got"
    else
        fail "a file with the rule but another title is taken for $mime_type"
    fi
    echo "notes about the battle" >"$work/files/notes.data"
    got=$(lookup --content "$work/files/notes.data")
    if [ "$got" != "$mime_type" ]; then
        pass "a text file is $got"
    else
        fail "a text file is taken for $mime_type"
    fi
fi

echo
if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "all checks passed"
