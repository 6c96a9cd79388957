#!/usr/bin/env bash
# Pictures and figures of the desktop program under Xvfb (packages xvfb and
# imagemagick): the frame with a finished report, the about and help windows
# and the printed report as PDF, the time from launch to the first painted
# frame, from the start button to the painted report, and the program's
# resident memory at rest.
#
#   tools/gui_probe.sh [BUILD_DIR] [OUT_PREFIX]
set -euo pipefail
build=${1:-build}
out=${2:-/tmp/tenglan}
screen='-screen 0 1600x1000x24'

cat > "$out-probe.sh" <<INNER
#!/usr/bin/env bash
set -euo pipefail
for i in 1 2 3 4 5; do
  t0=\$(date +%s%N)
  figures=\$("$build/tenglan_gui_probe" "$out" 2>/dev/null)
  shown=\$(awk '/frame_shown_ns/{print \$2}' <<<"\$figures")
  run=\$(awk '/start_button_to_report_ms/{print \$2}' <<<"\$figures")
  mean=\$(awk '/start_button_to_report_mean_ms/{print \$2}' <<<"\$figures")
  echo "launch to frame \$(( (shown - t0) / 1000000 )) ms, start button to report \$run ms (mean of 20 more: \$mean ms)"
done
"$build/tenglan" 2>/dev/null & pid=\$!
sleep 5
import -window root "$out-root.png"
echo "at rest: \$(grep VmRSS /proc/\$pid/status)"
kill \$pid
INNER
chmod +x "$out-probe.sh"
xvfb-run -a -s "$screen" "$out-probe.sh"
rm -f "$out-probe.sh"
ls "$out"-*.png "$out"-*.pdf
