#!/usr/bin/env bash
# The programs as installed (a staged install under DESTDIR, prefix /usr),
# run with a temporary HOME: what the install put where, and where each
# program reads and writes. The desktop program runs on Qt's offscreen
# platform, worked through its windows by the frame driver plugin in
# PLUGIN_DIR/generic; without PLUGIN_DIR only tenglan-cli is run.
#
#   installed_programs.sh DESTDIR [PLUGIN_DIR]
set -euo pipefail
# (grep -q reads captured output, never a pipe: with pipefail a writer cut
# off by an early match would count as a failure.)
root=$1
plugins=${2:-}
bin=$root/usr/bin
share=$root/usr/share
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# The install: the programs in bin and nothing else there, the manual in
# share/tenglan, the manual pages made from --help, and for the desktop
# program its menu entry, AppStream data and icon at every size.
[[ -x $bin/tenglan-cli ]] || fail "no $bin/tenglan-cli"
[[ -f $share/tenglan/help.txt ]] || fail "no share/tenglan/help.txt"
[[ -f $share/doc/tenglan/copyright && -f $share/doc/tenglan/changelog.gz ]] || fail "no package documents"
grep -q 'archive list' <<<"$(zcat "$share/man/man1/tenglan-cli.1.gz")" || fail "tenglan-cli.1 lacks the commands of --help"
expected_bin=tenglan-cli
if [[ -n $plugins ]]; then
  expected_bin=$'tenglan\ntenglan-cli'
  [[ -x $bin/tenglan ]] || fail "no $bin/tenglan"
  [[ -f $share/man/man1/tenglan.1.gz ]] || fail "no tenglan.1"
  [[ -f $share/applications/tenglan.desktop ]] || fail "no menu entry"
  [[ -f $share/metainfo/example.tenglan.tenglan.metainfo.xml ]] || fail "no AppStream data"
  for size in 16 22 24 32 48 64 128 256; do
    icon=$share/icons/hicolor/${size}x${size}/apps/tenglan.png
    [[ $(file -b "$icon") == "PNG image data, $size x $size, 8-bit/color RGBA, non-interlaced" ]] ||
      fail "icon $icon: $(file -b "$icon")"
  done
fi
[[ $(ls -A "$bin") == "$expected_bin" ]] || fail "bin holds $(ls -A "$bin" | tr '\n' ' ')"

# Whatever the programs do below, the installed tree stays as installed.
tree() { (cd "$root" && find . -printf '%p %y %s %T@\n' | LC_ALL=C sort); }
installed=$(tree)

export HOME=$work/home
mkdir "$HOME"
unset XDG_DATA_HOME
cli=$bin/tenglan-cli

# chart and calendar print and write nothing.
"$cli" chart --date 1984-02-04 --time 23:19 --name 张三 > "$work/chart.txt"
grep -q '张三' "$work/chart.txt" || fail "chart printed no report"
"$cli" calendar 2008 2 > "$work/calendar.txt"
[[ -s $work/calendar.txt ]] || fail "calendar printed nothing"
[[ -z $(find "$HOME" -mindepth 1) ]] || fail "chart or calendar wrote $(find "$HOME" -mindepth 1)"

# archive list without a folder: the user's data folder, made on first use,
# private, with an empty save.
"$cli" archive list > "$work/list.txt"
[[ ! -s $work/list.txt ]] || fail "a new archive is not empty"
data=$HOME/.local/share/tenglan
[[ -d $data/save && -z $(ls -A "$data/save") ]] || fail "no empty $data/save"
[[ $(stat -c %a "$data") == 700 ]] || fail "$data is not private: $(stat -c %a "$data")"
[[ $(find "$HOME" -mindepth 1 | LC_ALL=C sort) == "$(printf '%s\n' "$HOME/.local" "$HOME/.local/share" "$data" "$data/save")" ]] ||
  fail "archive list made $(find "$HOME" -mindepth 1)"

# XDG_DATA_HOME, when set, holds the folder instead.
export XDG_DATA_HOME=$work/xdg
"$cli" archive list > /dev/null
data=$XDG_DATA_HOME/tenglan
[[ -d $data/save ]] || fail "no $data/save"

# The desktop program, started, a chart saved, ended by its exit button;
# its help window shows HELP_TXT.
run_window() {  # EXECUTABLE OUT HELP_TXT
  QT_QPA_PLATFORM=offscreen QT_PLUGIN_PATH=$plugins QT_QPA_GENERIC_PLUGINS=tenglandriver LANG=C.UTF-8 \
    timeout 60 "$1" > "$2" || fail "$1 ended with status $?: $(cat "$2")"
  grep -qx 'report: ok' "$2" || fail "no report in the window: $(cat "$2")"
  grep -qx 'message: 文件保存成功!' "$2" || fail "the save was not reported as done: $(cat "$2")"
  local help_text help_line
  help_text=$(iconv -f GBK -t UTF-8 "$3")
  help_line=${help_text%%$'\n'*}
  help_line=${help_line%$'\r'}
  [[ $(grep '^help: ' "$2" | tr -d '\r') == "help: $help_line" ]] ||
    fail "the help window does not show $3: $(grep '^help: ' "$2")"
}
saved_in() {  # FOLDER: one record of 张三, its report text and the settings file
  [[ $(stat -c %s "$1/reco.dat") == 56 ]] || fail "$1/reco.dat does not hold one record"
  grep -q '张三' <<<"$(iconv -f GBK -t UTF-8 "$1/save/1.txt")" || fail "$1/save/1.txt is not the report of 张三"
  [[ -f $1/shezhi.ini ]] || fail "no $1/shezhi.ini"
}
if [[ -n $plugins ]]; then
  run_window "$bin/tenglan" "$work/window.txt" "$share/tenglan/help.txt"
  saved_in "$data"
  # The command line lists what the window saved: one folder for both.
  grep -q '张三' <<<"$("$cli" archive list)" || fail "archive list does not show the window's record"
fi
[[ $(tree) == "$installed" ]] || fail "the programs wrote into the installed tree: $(diff <(echo "$installed") <(tree))"

# A portable folder, recognised by help.txt beside the programs, keeps the
# files itself, even under a name that is GBK bytes (八字) and not UTF-8.
portable=$work/$'\xb0\xcb\xd7\xd6'
mkdir "$portable" "$portable/save"
cp "$bin"/* "$share/tenglan/help.txt" "$portable/"
users=$(find "$work/xdg" "$HOME" | LC_ALL=C sort)
"$portable/tenglan-cli" archive list > "$work/list.txt"
[[ ! -s $work/list.txt ]] || fail "the portable folder's archive is not empty"
if [[ -n $plugins ]]; then
  run_window "$portable/tenglan" "$work/portable.txt" "$portable/help.txt"
  saved_in "$portable"
  grep -q '张三' <<<"$("$portable/tenglan-cli" archive list)" || fail "archive list misses the portable folder's record"
fi
[[ $(find "$work/xdg" "$HOME" | LC_ALL=C sort) == "$users" ]] || fail "a portable program wrote into the user's folders"
echo "installed programs: every file where it belongs"
