# The installer in the system's language, sourced by scripts/test_windows.sh after its own installer
# checks (it uses their check, pass, fail, the probe and the prefix). Wine takes the system's language
# from the Unix locale: the locales are compiled into the work folder, leaving the machine's as they are.
"$root/scripts/setup.sh" locales >&2 # localedef's sources
locales="$work/locales"
mkdir -p "$locales"
for locale in ko_KR de_DE; do
  localedef -i "$locale" -f UTF-8 "$locales/$locale.UTF-8" 2>/dev/null || [ -f "$locales/$locale.UTF-8/LC_CTYPE" ] ||
    { echo "localedef cannot make $locale.UTF-8" >&2; exit 1; }
done
inLocale() { # LOCALE COMMAND...
  local locale=$1
  shift
  env -u LANGUAGE LOCPATH="$locales" LC_ALL="$locale" "$@"
}
installerName=$(basename "$installer")

# Installed from a Korean system, the Start-menu folder, its shortcut and the uninstall entry keep the
# program's name.
koreanInstall() {
  inLocale ko_KR.UTF-8 wine "$installer" /S || inLocale ko_KR.UTF-8 wine "$installer" /S ||
    fail "the installer failed with exit status $?"
  [[ $(shortcutOf) == */Programs/Astrolume/Astrolume.lnk ]] || fail "the shortcut is '$(shortcutOf)'"
  [ "$(registryValue DisplayName)" = Astrolume ] || fail "the uninstall entry is named '$(registryValue DisplayName)'"
  pass "/S on a Korean system: the shortcut Astrolume\\Astrolume.lnk, the uninstall entry Astrolume"
}
check install-korean uninstall koreanInstall

# Rows: the system's locale, the installer's title there, and its question when the program is already
# installed ("\n" a line break). English is the language of every system not Korean.
installerLanguages=(
  'ko_KR.UTF-8|Astrolume 설치|Astrolume이 이미 설치되어 있습니다.\n\n이전 버전을 제거한 뒤 새 버전을 설치할까요?'
  'C|Astrolume Setup|Astrolume is already installed. \n\nDo you want to uninstall the old version before installing the new one?'
  'de_DE.UTF-8|Astrolume Setup|Astrolume is already installed. \n\nDo you want to uninstall the old version before installing the new one?'
)
installerLanguage() { # LOCALE TITLE QUESTION
  local question=${3//'\n'/$'\n'} text installerProcess
  (inLocale "$1" wine "$installer") >"$work/installer.log" 2>&1 &
  installerProcess=$!
  waitForWindow "$2" 30 || fail "no window titled '$2'; there are: $(wine "$probe" windows | cut -f8 | paste -sd '|')"
  text=$(wine "$probe" text "$w_handle") || fail "the window titled '$2' is not a message box"
  [ "$text" = "$question" ] || fail "the installer asks: $text"
  # Cancel: the installer ends and changes nothing.
  clickTitleBar
  xdotool key Escape
  waitUntilGone "$2" 10 || fail "Escape left the question open"
  timeout 30 tail --pid="$installerProcess" -f /dev/null || fail "the installer still runs after Cancel"
  pass "on a system in $1 the installer is titled \"$2\" and asks in its language whether to uninstall first"
}
for row in "${installerLanguages[@]}"; do
  IFS='|' read -r locale title question <<<"$row"
  check "installer-language-${locale%%[._]*}" install-korean installerLanguage "$locale" "$title" "$question"
  wine taskkill /F /IM "$installerName" >/dev/null 2>&1 || true # finds nothing when the check passed
done

check uninstall-korean install-korean uninstallSilently
