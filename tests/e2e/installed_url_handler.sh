# Installing as a user would: `cmake --install` puts the program, its desktop entry (the
# handler of quillbern:// URLs) and its icon in the XDG places under a prefix, and the
# Debian package holds the same with its library dependencies. With the installed program
# running, xdg-open hands it a URL through the desktop entry.
source "$(dirname "$0")/../support/e2e-session.sh"

build=$(dirname "$program")
prefix=$work/prefix
entry=share/applications/quillbern.desktop
icon=share/icons/hicolor/scalable/apps/quillbern.svg

cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 \
  || { cat "$work/install.log" >&2; fail "cmake --install failed"; }
for file in bin/quillbern "$entry" "$icon"; do
  [[ -s "$prefix/$file" ]] || fail "not installed: $file"
done
desktop-file-validate "$prefix/$entry" || fail "the desktop entry is not valid"
grep -qx 'Exec=quillbern %u' "$prefix/$entry" || fail "the desktop entry does not pass the URL"
grep -qx 'MimeType=x-scheme-handler/quillbern;' "$prefix/$entry" || fail "the desktop entry takes no quillbern:// URLs"
grep -q DBusActivatable "$prefix/$entry" && fail "the desktop entry asks for D-Bus activation"

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/package" >"$work/cpack.log" 2>&1 \
  || { cat "$work/cpack.log" >&2; fail "cpack -G DEB failed"; }
package=$(ls "$work"/package/quillbern_*.deb)
dpkg-deb -c "$package" | awk '{ print $NF }' >"$work/contents"
for file in bin/quillbern "$entry" "$icon"; do
  grep -qx "./usr/$file" "$work/contents" || fail "not in the package: /usr/$file"
done
depends=$(dpkg-deb -f "$package" Depends)
for library in libqt6widgets6 libqt6dbus6 libqt6svg6 libxcb1 libicu; do
  [[ $depends == *"$library"* ]] || fail "the package does not depend on $library: $depends"
done

# A desktop without a desktop environment of its own: xdg-open goes by the desktop entries.
unset XDG_CURRENT_DESKTOP DESKTOP_SESSION GNOME_DESKTOP_SESSION_ID KDE_FULL_SESSION
export XDG_DATA_HOME="$work/data" XDG_DATA_DIRS="$prefix/share:/usr/share" PATH="$prefix/bin:$PATH"
[[ $(xdg-mime query default x-scheme-handler/quillbern) == quillbern.desktop ]] \
  || fail "xdg-mime finds no handler of quillbern:// URLs"

# expect_panel_count N: waits, at most 10 s, until N dock panels show.
expect_panel_count() {
  local deadline=$((SECONDS + 10))
  until [[ $(dock_panels | grep -c ,) -eq $1 ]]; do
    ((SECONDS < deadline)) || fail "want $1 dock panels, have [$(echo $(dock_panels))]"
    sleep 0.05
  done
}

printf '{"dockAutoHide": false}\n' >"$settings"
program=$prefix/bin/quillbern
start_headless_desktop
start_program
expect_panel_count 2  # the new user's dock on both monitors
timeout 10 xdg-open 'quillbern://profiles/1/hide' >"$work/xdg-open.log" 2>&1 \
  || { cat "$work/xdg-open.log" >&2; fail "xdg-open failed"; }
expect_panel_count 0
kill -TERM "$program_pid"
expect_clean_exit
echo "PASS"
