# Sourced by the scripts: a private Wine prefix, made once, with a silent sound device.
# Usage: source scripts/wine-env.sh <prefix folder> [unmanaged]
#   unmanaged: Wine draws the window frames itself (for tests under Xvfb, where no
#   window manager runs), so X windows have the size of the Windows windows.
rz_wine_prefix() {
  local prefix="$1" mode="${2:-}"
  export WINEPREFIX="$prefix" WINEDEBUG=-all WINEARCH=win64
  # MCI plays sound through ALSA; a null default device keeps machines without sound
  # hardware quiet and working. Wine reads it from the HOME it runs with.
  export HOME_FOR_WINE="$prefix.home"
  mkdir -p "$HOME_FOR_WINE"
  [ -f "$HOME_FOR_WINE/.asoundrc" ] || printf 'pcm.!default { type null }\nctl.!default { type hw card 0 }\n' > "$HOME_FOR_WINE/.asoundrc"
  if [ ! -f "$prefix/.rz-ready" ]; then
    echo "wine: preparing $prefix (once, about 20 s)" >&2
    HOME="$HOME_FOR_WINE" wineboot -i >/dev/null 2>&1 || true
    if [ "$mode" = unmanaged ]; then
      HOME="$HOME_FOR_WINE" wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
      HOME="$HOME_FOR_WINE" wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
    fi
    HOME="$HOME_FOR_WINE" wineserver -w
    touch "$prefix/.rz-ready"
  fi
  # Debian's Wine 8 looks for the faces of fonts-wine (Tahoma, MS Sans Serif, the system
  # fonts) under a path it cannot open; the prefix's Windows fonts folder is always read.
  local fonts="$prefix/drive_c/windows/Fonts"
  if [ -d /usr/share/wine/fonts ] && [ -d "$fonts" ] && [ ! -e "$fonts/tahoma.ttf" ]; then
    ln -sf /usr/share/wine/fonts/* "$fonts/"
  fi
}
