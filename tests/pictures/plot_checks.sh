# The pictures of veltrano-cli end to end: sane axes over any grid, the
# exponent of a map, and a plotting plugin that is missing, broken or of
# another version found before any work, with nothing written.
#   plot_checks.sh <veltrano-cli> <a plugin of another version>
other=$2
. "$(dirname "$0")/../cli/checks.sh"

# An axis a few ulps wide once spun in the tick loop until memory ran out.
timeout 60 "$cli" sweep --vary R=28:28.000000000000004:6 --output ulps.csv --plot ulps.png 5 10 28 2.6667
expect "a few ulps: status 0" "[ $? = 0 ]"
expect "a few ulps: picture drawn" "[ -s ulps.png ]"
timeout 60 "$cli" plot ulps.csv ulps-again.png
expect "a few ulps, plotted afterwards: status 0" "[ $? = 0 ]"
timeout 60 "$cli" sweep --vary sigma=10:10.000000000000002:3 --vary R=28:28.000000000000004:3 \
  --plot ulps-map.svg 5 10 28 2.6667 > /dev/null
expect "a map a few ulps a side: status 0" "[ $? = 0 ]"
expect "no temporary picture left" "[ -z \"\$(ls -A | grep '^\.veltrano-')\" ]"

# --exponent K on a map draws λK and says so.
"$cli" sweep --vary sigma=0:20:4 --vary R=0:50:4 5 10 28 2.6667 > map.csv
for k in 1 2 3; do
  "$cli" plot --exponent $k map.csv map$k.svg
  expect "map of lambda$k: status 0" "[ $? = 0 ]"
  expect "map of lambda$k: its title" "grep -q '<title>λ$k over σ and R' map$k.svg"
done
expect "the maps differ" "! cmp -s map1.svg map2.svg && ! cmp -s map2.svg map3.svg"
# Without --exponent a history shows the three exponents.
"$cli" history 50 10 28 2.6667 > h50.csv
"$cli" plot h50.csv all.svg
expect "a history without --exponent: all three" "grep -q '<title>Convergence of the Lyapunov exponents' all.svg && grep -q 'λ1' all.svg && grep -q 'λ2' all.svg && grep -q 'λ3' all.svg"
for k in 0 4 x; do
  "$cli" plot --exponent $k map.csv map-$k.svg 2> exponent.err
  expect "--exponent $k refused" "[ $? = 2 ] && [ \"\$(cat exponent.err)\" = 'veltrano-cli plot: --exponent $k: K must be 1, 2 or 3' ] && [ ! -e map-$k.svg ]"
done

# A picture drawn with the results names the run's settings that differ
# from the defaults.
"$cli" sweep --vary R=0:50:5 --transient 5 --initial 1,2,3 --step 0.005 --steps-per-interval 10 --target-error 0.5 \
  --plot settings.svg 20 10 28 2.6667 > /dev/null
expect "the settings under the picture" \
  "grep -qF 'n = 20, transient 5, from (1, 2, 3), h = 0.005, 10 steps an interval, target error 0.5' settings.svg"
"$cli" history --plot defaults.svg 20 10 28 2.6667 > /dev/null
expect "... and only n for the defaults" "grep -q 'b = 2.6667, n = 20<' defaults.svg"

# Points stopped by a fault are marked on a line, drawn by sweep and by
# plot alike; inconsistent points get their own marks and legend entry.
"$cli" sweep --vary R=0:100000000000000000000:3 --output faults.csv --plot faults.svg 20 10 28 2.6667
"$cli" plot faults.csv faults-again.svg
for f in faults.svg faults-again.svg; do
  expect "$f: faults marked" "grep -q 'arithmetic error (no result)' $f"
done
# The picture says n only where the file holds it (error bars: the intervals
# of each row), so sweep --plot and plot of its file draw the same picture.
expect "without error bars: the same picture, n unsaid" "cmp -s faults.svg faults-again.svg && ! grep -q 'n = ' faults.svg"
"$cli" sweep --errors --batch 2 --vary R=20:30:3 --output bars.csv --plot bars.svg 20 10 28 2.6667
"$cli" plot bars.csv bars-again.svg
expect "with error bars: the same picture, n said" "cmp -s bars.svg bars-again.svg && grep -q 'b = 2.6667, n = 20<' bars.svg"
expect "all ok: nothing marked" "! grep -q 'arithmetic error' ulps-map.svg && ! grep -q 'inconsistent' ulps-map.svg"
"$cli" sweep --steps-per-interval 2000000 --step 0.0001 --vary R=20:30:2 --plot odd.svg 2 10 28 2.6667 > /dev/null
expect "inconsistent points marked" "grep -q 'inconsistent: ' odd.svg"
"$cli" sweep --vary R=20:30:2 --plot even.svg 20 10 28 2.6667 > /dev/null
expect "consistent points not marked" "! grep -q 'inconsistent' even.svg"

# The plugin is checked with the picture's path, before any computation.
mkdir alone broken other
cp "$cli" alone/veltrano-cli
cp "$cli" broken/veltrano-cli
echo "not a library" > broken/veltrano-plot.so
cp "$cli" other/veltrano-cli
cp "$other" other/veltrano-plot.so
refused() {  # FOLDER WHAT: refused with status 2 and WHAT, nothing written
  local folder=$1 what=$2 status
  "$folder/veltrano-cli" sweep --vary R=0:10:4 --output "$folder/rows.csv" --plot "$folder/p.png" \
    100000000 10 28 2.6667 > /dev/null 2> err.txt
  status=$?
  expect "$folder sweep: status 2" "[ $status = 2 ]"
  expect "$folder sweep: says why" "grep -q '$what' err.txt"
  expect "$folder sweep: nothing written" "[ ! -e $folder/rows.csv ] && [ ! -e $folder/p.png ]"
  "$folder/veltrano-cli" history --plot "$folder/h.png" 100000000 10 28 2.6667 > out.txt 2> err.txt
  status=$?
  expect "$folder history: status 2" "[ $status = 2 ]"
  expect "$folder history: says why" "grep -q '$what' err.txt"
  expect "$folder history: no rows" "[ ! -s out.txt ]"
  "$folder/veltrano-cli" plot map.csv "$folder/m.png" 2> err.txt
  status=$?
  expect "$folder plot: status 2" "[ $status = 2 ]"
  expect "$folder plot: says why" "grep -q '$what' err.txt"
  expect "$folder: no picture" "[ -z \"\$(ls -A $folder | grep png)\" ]"
}
refused alone "its plotting plugin veltrano-plot.so is not installed beside it"
refused broken "cannot open the plotting plugin"
refused other "is of another version of veltrano-cli"
finish
