#!/usr/bin/env bash
# The installation as a user makes it: the program installed into a folder
# two levels below a fresh demo simulator tree, then started there, in
# English and in French, until it has loaded the map page and the markers.
#   check_install.sh CMAKE BUILD_DIR BIN_DIR
set -euo pipefail
cmake=$1
build=$2
bin=$3

work=$(mktemp -d)
pid=
cleanup() {
    if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "check_install: $*" >&2
    exit 1
}

tree=$work/Corvane
app=$tree/Tools/Navigator
"$bin/mksimtree" "$tree" || fail "mksimtree failed"
"$cmake" --install "$build" --prefix "$app" > "$work/install.log" || fail "cmake --install failed"

# Everything the build puts beside the program for the window is installed,
# in the same place.
needed=(corvane-navigator navsim corvanenavigator_en.qm gm_navigator_fr.html gm_navigator_en.html bridge.js)
while IFS= read -r f; do needed+=("$f"); done < <(cd "$bin" && find web -type f | sort)
for f in "${needed[@]}"; do
    [ -e "$app/$f" ] || fail "not installed: $f"
done
[ -x "$app/corvane-navigator" ] || fail "the program is not executable"
[ -x "$app/navsim" ] || fail "navsim is not executable"

# The desktop entry starts the installed program from its own folder.
desktop=$app/share/applications/org.corvane.navigator.desktop
[ -f "$desktop" ] || fail "no desktop entry"
grep -qxF "Exec=\"$app/corvane-navigator\"" "$desktop" || fail "desktop entry: wrong Exec line"
grep -qxF "Path=$app" "$desktop" || fail "desktop entry: wrong Path line"
icon=$(sed -n 's/^Icon=//p' "$desktop")
[ -f "$icon" ] || fail "desktop entry: no icon at $icon"
metainfo=$app/share/metainfo/org.corvane.navigator.metainfo.xml
[ -f "$metainfo" ] || fail "no AppStream metainfo"
grep -q '<launchable type="desktop-id">org.corvane.navigator.desktop</launchable>' "$metainfo" \
    || fail "metainfo: no launchable desktop entry"
grep -q '<screenshot type="default">' "$metainfo" || fail "metainfo: no default screenshot"
for f in guide.fr.md guide.en.md map.png plan.png procedures.png editor.png trace.png; do
    [ -f "$app/share/doc/corvane-navigator/$f" ] || fail "not installed: share/doc/corvane-navigator/$f"
done

# Started from its folder, it finds the simulator, its page and, unless the
# system is French, its translation.
mkdir -p "$tree/Work"
start() {
    local locale=$1
    printf '[directory]\ndirWork=%s\n' "$tree/Work" > "$app/navigator.ini"
    rm -f "$app/navigator_debug.log"
    (cd "$app" && exec env LC_ALL="$locale" ./corvane-navigator > "$work/run-$locale.out" 2>&1) &
    pid=$!
    local waited=0
    until grep -q 'MainWindow::readDataFromDB Airport 859' "$app/navigator_debug.log" 2>/dev/null; do
        kill -0 "$pid" 2>/dev/null || { cat "$work/run-$locale.out" >&2; fail "$locale: the program stopped"; }
        [ "$waited" -lt 300 ] || fail "$locale: no markers loaded after 300 s"
        sleep 1
        waited=$((waited + 1))
    done
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    pid=
    local log=$app/navigator_debug.log
    grep -q "^Debug: MainWindow::MainWindow : dirCorvane \"$tree\"" "$log" || fail "$locale: simulator not found"
    if grep -q 'dirCorvane not found\|dirWork not found' "$log"; then fail "$locale: asked for a folder"; fi
    if grep -q '^Fatal:' "$log"; then fail "$locale: fatal message"; fi
}

log=$app/navigator_debug.log
start en_US.UTF-8
grep -q '^Debug: main: locale "en_US"' "$log" || fail "en_US: no locale line"
grep -q '^Debug: main: english version loaded' "$log" || fail "en_US: the English translation was not chosen"

start fr_FR.UTF-8
grep -q '^Debug: main: locale "fr_FR"' "$log" || fail "fr_FR: no locale line"
if grep -q 'english version loaded' "$log"; then fail "fr_FR: the English translation was loaded"; fi

echo "check_install: 1 passed, 0 failed"
