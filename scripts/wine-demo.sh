#!/usr/bin/env bash
# The Windows program on a demo installation under Wine, for demo.sh --windows
# and the benchmark: a Wine prefix of its own holding the stand-in Firebird
# client (built with the Windows tests), and a demo that the Linux kvdemo made
# recorded for the Windows program.
#
#   wine-demo.sh prefix STANDIN_DIR   makes the prefix $WINEPREFIX anew: Russian locale (code
#                                     page 1251), no crash dialog, the stand-in client's placeholder
#                                     in its system folder (its Winelib half: WINEDLLPATH=STANDIN_DIR)
#   wine-demo.sh adopt DEMO           records installation 1 in DEMO in the prefix's registry
#                                     (32-bit view) and rewrites its ini and aliases files with the
#                                     paths Windows sees (drive Z:)
#
# Both need WINEPREFIX exported; LANG=ru_RU.UTF-8 and WINEDEBUG=-all are set here.
set -euo pipefail
export LANG=ru_RU.UTF-8 WINEDEBUG=${WINEDEBUG:--all}
: "${WINEPREFIX:?wine-demo.sh: export WINEPREFIX first}"

die() { echo "wine-demo.sh: $*" >&2; exit 1; }

# A Unix path as a Windows program under Wine sees it.
windows_path() { local p; p=$(realpath -m "$1"); printf 'Z:%s' "${p//\//\\}"; }

# Writes text (UTF-8, lines ending in \r\n) as a Windows-1251 file.
write_1251() { printf '%s' "$2" | iconv -f UTF-8 -t WINDOWS-1251 >"$1"; }

prefix() {
  local standin=$1
  [[ -f $standin/fbclient.dll && -f $standin/fbclient.dll.so ]] ||
    die "no stand-in client in $standin (scripts/build-windows.sh builds it)"
  rm -rf "$WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
  wineserver -w
  cp "$standin/fbclient.dll" "$WINEPREFIX/drive_c/windows/system32/"
}

adopt() {
  local demo win key
  demo=$(realpath "$1")
  [[ -f $demo/prog/kv.ini ]] || die "$demo holds no demo installation (build/app/kvdemo makes one)"
  win=$(windows_path "$demo")
  write_1251 "$demo/prog/kv.ini" $'[Main]\r\nCompany=Оконный цех\r\n\r\n[Server]\r\nDirectoryFirebird='"$win"$'\\firebird\\\r\n'
  write_1251 "$demo/firebird/aliases.conf" $'# Aliases of the shop\'s Firebird server\r\n#\r\nemployee = '"$win"$'\\firebird\\examples\\employee.fdb\r\nkvServerOrders_1 = '"$win"$'\\server\\Orders.fdb\r\n'
  key='HKLM\SOFTWARE\Velmor\Квенира\7.00'
  wine reg add "$key" /v DirProgram /d "$win\\prog" /f /reg:32 >/dev/null
  wine reg add "$key" /v DirBase /d "$win\\base" /f /reg:32 >/dev/null
  wine reg add "$key" /v typeInstall /d d /f /reg:32 >/dev/null
  wine reg delete 'HKCU\SOFTWARE\Velmor\Kven700' /f >/dev/null 2>&1 || true
}

case ${1:-} in
  prefix) (($# == 2)) || die "usage: wine-demo.sh prefix STANDIN_DIR"; prefix "$2" ;;
  adopt) (($# == 2)) || die "usage: wine-demo.sh adopt DEMO"; adopt "$2" ;;
  *) die "usage: wine-demo.sh prefix STANDIN_DIR | adopt DEMO" ;;
esac
