<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_GB">
<context>
    <name>QObject</name>
    <message>
        <source>%1 s</source>
        <translation>%1 s</translation>
    </message>
    <message>
        <source>%1 min %2 s</source>
        <translation>%1 min %2 s</translation>
    </message>
    <message>
        <source>%1 h %2 min</source>
        <translation>%1 h %2 min</translation>
    </message>
</context>
<context>
    <name>veltrano::explorer::EquationsDialog</name>
    <message>
        <source>Your equations</source>
        <translation>Your equations</translation>
    </message>
    <message>
        <source>One statement a line: x&apos; = -y - z (an equation), a = 0.2 (a parameter and its default), x(0) = 1 (a starting value); # starts a comment.</source>
        <translation>One statement a line: x&apos; = -y - z (an equation), a = 0.2 (a parameter and its default), x(0) = 1 (a starting value); # starts a comment.</translation>
    </message>
    <message>
        <source>Equations</source>
        <translation>Equations</translation>
    </message>
    <message>
        <source>The flow as text, one statement a line</source>
        <translation>The flow as text, one statement a line</translation>
    </message>
    <message>
        <source>&amp;Map</source>
        <translation>&amp;Map</translation>
    </message>
    <message>
        <source>The equations parse.</source>
        <translation>The equations parse.</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Cancel</translation>
    </message>
</context>
<context>
    <name>veltrano::explorer::ExplorerWindow</name>
    <message>
        <source>Veltrano Explorer</source>
        <translation>Veltrano Explorer</translation>
    </message>
    <message>
        <source>Shown</source>
        <translation>Shown</translation>
    </message>
    <message>
        <source>λ1</source>
        <translation>λ1</translation>
    </message>
    <message>
        <source>λ2</source>
        <translation>λ2</translation>
    </message>
    <message>
        <source>λ3</source>
        <translation>λ3</translation>
    </message>
    <message>
        <source>Kaplan–Yorke dimension</source>
        <translation>Kaplan–Yorke dimension</translation>
    </message>
    <message>
        <source>half-width of λ1</source>
        <translation>half-width of λ1</translation>
    </message>
    <message>
        <source>classes: chaotic, periodic, at rest, undecided</source>
        <translation>classes: chaotic, periodic, at rest, undecided</translation>
    </message>
    <message>
        <source>Sho&amp;w</source>
        <translation>Sho&amp;w</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Progress</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>&amp;Back</source>
        <translation>&amp;Back</translation>
    </message>
    <message>
        <source>&amp;Forward</source>
        <translation>&amp;Forward</translation>
    </message>
    <message>
        <source>&amp;Reset view</source>
        <translation>&amp;Reset view</translation>
    </message>
    <message>
        <source>&amp;Stop</source>
        <translation>&amp;Stop</translation>
    </message>
    <message>
        <source>Export &amp;picture…</source>
        <translation>Export &amp;picture…</translation>
    </message>
    <message>
        <source>Export &amp;CSV…</source>
        <translation>Export &amp;CSV…</translation>
    </message>
    <message>
        <source>Copy as &amp;command</source>
        <translation>Copy as &amp;command</translation>
    </message>
    <message>
        <source>Copy as P&amp;ython</source>
        <translation>Copy as P&amp;ython</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>Map</source>
        <translation>Map</translation>
    </message>
    <message>
        <source>%1 of %2 points</source>
        <translation>%1 of %2 points</translation>
    </message>
    <message>
        <source> · %1 points/s</source>
        <translation> · %1 points/s</translation>
    </message>
    <message>
        <source> · %1 left</source>
        <translation> · %1 left</translation>
    </message>
    <message>
        <source> · stopped</source>
        <translation> · stopped</translation>
    </message>
    <message>
        <source>Error bars are off: no point is classified, and undecided points are not marked.</source>
        <translation>Error bars are off: no point is classified, and undecided points are not marked.</translation>
    </message>
    <message>
        <source>Fewer than 10 batches (n / batch): no point gets error bars, so none is classified.</source>
        <translation>Fewer than 10 batches (n / batch): no point gets error bars, so none is classified.</translation>
    </message>
    <message>
        <source>Error bars on (batches of %1): undecided points are shaded.</source>
        <translation>Error bars on (batches of %1): undecided points are shaded.</translation>
    </message>
    <message>
        <source>The map is not complete (%1 of %2 points): a CSV holds every point, as veltrano-cli sweep writes it. Wait for the map, then export.</source>
        <translation>The map is not complete (%1 of %2 points): a CSV holds every point, as veltrano-cli sweep writes it. Wait for the map, then export.</translation>
    </message>
    <message>
        <source>Export the map&apos;s rows</source>
        <translation>Export the map&apos;s rows</translation>
    </message>
    <message>
        <source>CSV files (*.csv)</source>
        <translation>CSV files (*.csv)</translation>
    </message>
    <message>
        <source>Export the map as a picture</source>
        <translation>Export the map as a picture</translation>
    </message>
    <message>
        <source>PNG pictures (*.png);;SVG drawings (*.svg)</source>
        <translation>PNG pictures (*.png);;SVG drawings (*.svg)</translation>
    </message>
    <message>
        <source>The command is on the clipboard</source>
        <translation>The command is on the clipboard</translation>
    </message>
    <message>
        <source>The Python call is on the clipboard</source>
        <translation>The Python call is on the clipboard</translation>
    </message>
    <message>
        <source>Point</source>
        <translation>Point</translation>
    </message>
    <message>
        <source>σ = %1, R = %2, b = %3</source>
        <translation>σ = %1, R = %2, b = %3</translation>
    </message>
    <message>
        <source>not computed yet: %1</source>
        <translation>not computed yet: %1</translation>
    </message>
    <message>
        <source>error, an arithmetic fault at t = %1: %2</source>
        <translation>error, an arithmetic fault at t = %1: %2</translation>
    </message>
    <message>
        <source>inconsistent</source>
        <translation>inconsistent</translation>
    </message>
    <message>
        <source>ok, %1</source>
        <translation>ok, %1</translation>
    </message>
    <message>
        <source>ok</source>
        <translation>ok</translation>
    </message>
    <message>
        <source>%1: %2; λ1 = %3, λ2 = %4, λ3 = %5</source>
        <translation>%1: %2; λ1 = %3, λ2 = %4, λ3 = %5</translation>
    </message>
    <message>
        <source>, λ1 ± %1</source>
        <translation>, λ1 ± %1</translation>
    </message>
    <message>
        <source>The rows are being written to %1: wait for the export or cancel it.</source>
        <translation>The rows are being written to %1: wait for the export or cancel it.</translation>
    </message>
    <message>
        <source>Writing the rows to %1…</source>
        <translation>Writing the rows to %1…</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>The export was cancelled: %1 is as it was.</source>
        <translation>The export was cancelled: %1 is as it was.</translation>
    </message>
    <message>
        <source>The rows are written to %1</source>
        <translation>The rows are written to %1</translation>
    </message>
    <message>
        <source>What the map shows of each point. The classes come from the error bars of λ1 and λ2: chaotic where λ1 is above its bar; periodic where λ1 is zero within its bar (the flow&apos;s own zero exponent) and λ2 is below its bar; at rest where λ1 is below its bar; undecided otherwise. A conservative flow (divergence zero, the exponents summing to zero, as Hénon–Heiles) has no contracting direction: its regular orbits, with λ1 and λ2 both zero within their bars, are undecided, never periodic; its chaotic orbits are chaotic.</source>
        <translation>What the map shows of each point. The classes come from the error bars of λ1 and λ2: chaotic where λ1 is above its bar; periodic where λ1 is zero within its bar (the flow&apos;s own zero exponent) and λ2 is below its bar; at rest where λ1 is below its bar; undecided otherwise. A conservative flow (divergence zero, the exponents summing to zero, as Hénon–Heiles) has no contracting direction: its regular orbits, with λ1 and λ2 both zero within their bars, are undecided, never periodic; its chaotic orbits are chaotic.</translation>
    </message>
    <message>
        <source>Your equations cannot be mapped: %1</source>
        <translation>Your equations cannot be mapped: %1</translation>
    </message>
    <message>
        <source>Your equations have no parameter: there is nothing to map</source>
        <translation>Your equations have no parameter: there is nothing to map</translation>
    </message>
</context>
<context>
    <name>veltrano::explorer::LegendWidget</name>
    <message>
        <source>chaotic</source>
        <translation>chaotic</translation>
    </message>
    <message>
        <source>periodic</source>
        <translation>periodic</translation>
    </message>
    <message>
        <source>at rest</source>
        <translation>at rest</translation>
    </message>
    <message>
        <source>undecided</source>
        <translation>undecided</translation>
    </message>
    <message>
        <source>D (Kaplan–Yorke)</source>
        <translation>D (Kaplan–Yorke)</translation>
    </message>
    <message>
        <source>± λ1</source>
        <translation>± λ1</translation>
    </message>
    <message>
        <source>class</source>
        <translation>class</translation>
    </message>
    <message>
        <source>error</source>
        <translation>error</translation>
    </message>
    <message>
        <source>inconsistent</source>
        <translation>inconsistent</translation>
    </message>
    <message>
        <source>Legend</source>
        <translation>Legend</translation>
    </message>
    <message>
        <source>no error bars</source>
        <translation>no error bars</translation>
    </message>
    <message>
        <source>%1 from %2 (%3) to %4 (warm)</source>
        <translation>%1 from %2 (%3) to %4 (warm)</translation>
    </message>
    <message>
        <source>neutral</source>
        <translation>neutral</translation>
    </message>
    <message>
        <source>cool</source>
        <translation>cool</translation>
    </message>
</context>
<context>
    <name>veltrano::explorer::MapExport</name>
    <message>
        <source>Cannot write %1: %2. The file is as it was.</source>
        <translation>Cannot write %1: %2. The file is as it was.</translation>
    </message>
    <message>
        <source>n = %1</source>
        <translation>n = %1</translation>
    </message>
    <message>
        <source>, transient %1</source>
        <translation>, transient %1</translation>
    </message>
    <message>
        <source>, target error %1</source>
        <translation>, target error %1</translation>
    </message>
    <message>
        <source>%1 over %2 and %3 — %4 = %5, %6</source>
        <translation>%1 over %2 and %3 — %4 = %5, %6</translation>
    </message>
    <message>
        <source>error</source>
        <translation>error</translation>
    </message>
    <message>
        <source>inconsistent</source>
        <translation>inconsistent</translation>
    </message>
    <message>
        <source>undecided</source>
        <translation>undecided</translation>
    </message>
    <message>
        <source>%1 and %2</source>
        <translation>%1 and %2</translation>
    </message>
    <message>
        <source>%1 over %2 — %3, %4</source>
        <translation>%1 over %2 — %3, %4</translation>
    </message>
</context>
<context>
    <name>veltrano::explorer::MapWidget</name>
    <message>
        <source>Map</source>
        <translation>Map</translation>
    </message>
</context>
<context>
    <name>veltrano::explorer::SettingsForm</name>
    <message>
        <source>Axes</source>
        <translation>Axes</translation>
    </message>
    <message>
        <source>Across</source>
        <translation>Across</translation>
    </message>
    <message>
        <source>Up</source>
        <translation>Up</translation>
    </message>
    <message>
        <source>Across from</source>
        <translation>Across from</translation>
    </message>
    <message>
        <source>Across to</source>
        <translation>Across to</translation>
    </message>
    <message>
        <source>Up from</source>
        <translation>Up from</translation>
    </message>
    <message>
        <source>Up to</source>
        <translation>Up to</translation>
    </message>
    <message>
        <source>Columns</source>
        <translation>Columns</translation>
    </message>
    <message>
        <source>Rows</source>
        <translation>Rows</translation>
    </message>
    <message>
        <source>to</source>
        <translation>to</translation>
    </message>
    <message>
        <source>&amp;Across</source>
        <translation>&amp;Across</translation>
    </message>
    <message>
        <source>from</source>
        <translation>from</translation>
    </message>
    <message>
        <source>&amp;Columns</source>
        <translation>&amp;Columns</translation>
    </message>
    <message>
        <source>&amp;Up</source>
        <translation>&amp;Up</translation>
    </message>
    <message>
        <source>&amp;Rows</source>
        <translation>&amp;Rows</translation>
    </message>
    <message>
        <source>Parameters</source>
        <translation>Parameters</translation>
    </message>
    <message>
        <source>Run</source>
        <translation>Run</translation>
    </message>
    <message>
        <source>n, measured intervals</source>
        <translation>n, measured intervals</translation>
    </message>
    <message>
        <source>Transient intervals</source>
        <translation>Transient intervals</translation>
    </message>
    <message>
        <source>Initial %1</source>
        <translation>Initial %1</translation>
    </message>
    <message>
        <source>Step h</source>
        <translation>Step h</translation>
    </message>
    <message>
        <source>Steps per interval</source>
        <translation>Steps per interval</translation>
    </message>
    <message>
        <source>Batch length</source>
        <translation>Batch length</translation>
    </message>
    <message>
        <source>Target error</source>
        <translation>Target error</translation>
    </message>
    <message>
        <source>none</source>
        <translation>none</translation>
    </message>
    <message>
        <source>&amp;n</source>
        <translation>&amp;n</translation>
    </message>
    <message>
        <source>&amp;Transient</source>
        <translation>&amp;Transient</translation>
    </message>
    <message>
        <source>&amp;Initial point</source>
        <translation>&amp;Initial point</translation>
    </message>
    <message>
        <source>Step &amp;h</source>
        <translation>Step &amp;h</translation>
    </message>
    <message>
        <source>&amp;Batch</source>
        <translation>&amp;Batch</translation>
    </message>
    <message>
        <source>Tar&amp;get error</source>
        <translation>Tar&amp;get error</translation>
    </message>
    <message>
        <source>%1: a decimal number is wanted (digits, at most one point, a leading minus)</source>
        <translation>%1: a decimal number is wanted (digits, at most one point, a leading minus)</translation>
    </message>
    <message>
        <source>The two axes must be two different parameters</source>
        <translation>The two axes must be two different parameters</translation>
    </message>
    <message>
        <source>Error bars (batch means)</source>
        <translation>Error bars (batch means)</translation>
    </message>
    <message>
        <source>en</source>
        <comment>the language of these texts: en or it</comment>
        <translation>en</translation>
    </message>
    <message>
        <source>Initial point</source>
        <translation>Initial point</translation>
    </message>
    <message>
        <source>Flow</source>
        <translation>Flow</translation>
    </message>
    <message>
        <source>System</source>
        <translation>System</translation>
    </message>
    <message>
        <source>The flow mapped: Lorenz or another flow of the catalogue</source>
        <translation>The flow mapped: Lorenz or another flow of the catalogue</translation>
    </message>
    <message>
        <source>%1 has no parameters: there is nothing to map</source>
        <translation>%1 has no parameters: there is nothing to map</translation>
    </message>
    <message>
        <source>Dimension</source>
        <translation>Dimension</translation>
    </message>
    <message>
        <source>Exponents computed</source>
        <translation>Exponents computed</translation>
    </message>
    <message>
        <source>k: the k largest exponents are computed (all d by default)</source>
        <translation>k: the k largest exponents are computed (all d by default)</translation>
    </message>
    <message>
        <source>S&amp;ystem</source>
        <translation>S&amp;ystem</translation>
    </message>
    <message>
        <source>&amp;Dimension</source>
        <translation>&amp;Dimension</translation>
    </message>
    <message>
        <source>E&amp;xponents</source>
        <translation>E&amp;xponents</translation>
    </message>
    <message>
        <source>The d starting values, separated by commas</source>
        <translation>The d starting values, separated by commas</translation>
    </message>
    <message>
        <source>Unknown system %1</source>
        <translation>Unknown system %1</translation>
    </message>
    <message>
        <source>Initial point: %1 values are wanted, separated by commas (%2 given)</source>
        <translation>Initial point: %1 values are wanted, separated by commas (%2 given)</translation>
    </message>
    <message>
        <source>Initial point: %1 is not a decimal number (digits, at most one point, a leading minus)</source>
        <translation>Initial point: %1 is not a decimal number (digits, at most one point, a leading minus)</translation>
    </message>
    <message>
        <source>Your equations…</source>
        <translation>Your equations…</translation>
    </message>
    <message>
        <source>d: the number of variables of the flow</source>
        <translation>d: the number of variables of the flow</translation>
    </message>
    <message>
        <source>Error bars (batch &amp;means)</source>
        <translation>Error bars (batch &amp;means)</translation>
    </message>
    <message>
        <source>Steps per interva&amp;l</source>
        <translation>Steps per interva&amp;l</translation>
    </message>
</context>
<context>
    <name>veltrano::point_panel::AttractorView</name>
    <message>
        <source>Attractor</source>
        <translation>Attractor</translation>
    </message>
    <message>
        <source>Projection on %1–%2: no states yet</source>
        <translation>Projection on %1–%2: no states yet</translation>
    </message>
    <message>
        <source>Projection on %1–%2 of %3 states, one every %4 steps; %1 from %5 to %6, %2 from %7 to %8</source>
        <translation>Projection on %1–%2 of %3 states, one every %4 steps; %1 from %5 to %6, %2 from %7 to %8</translation>
    </message>
</context>
<context>
    <name>veltrano::point_panel::ConvergenceView</name>
    <message>
        <source>Convergence of λ1, λ2, λ3</source>
        <translation>Convergence of λ1, λ2, λ3</translation>
    </message>
    <message>
        <source>No estimates yet</source>
        <translation>No estimates yet</translation>
    </message>
    <message>
        <source>At t = %1, interval %2:</source>
        <translation>At t = %1, interval %2:</translation>
    </message>
    <message>
        <source>Error bars are off.</source>
        <translation>Error bars are off.</translation>
    </message>
    <message>
        <source>t (logarithmic)</source>
        <translation>t (logarithmic)</translation>
    </message>
    <message>
        <source>estimate of λ</source>
        <translation>estimate of λ</translation>
    </message>
    <message>
        <source>shaded: 95 % intervals</source>
        <translation>shaded: 95 % intervals</translation>
    </message>
    <message>
        <source>Convergence of λ1 … λ%1</source>
        <translation>Convergence of λ1 … λ%1</translation>
    </message>
</context>
<context>
    <name>veltrano::point_panel::PointPanel</name>
    <message>
        <source>A point</source>
        <translation>A point</translation>
    </message>
    <message>
        <source>The point</source>
        <translation>The point</translation>
    </message>
    <message>
        <source>Kaplan–Yorke dimension</source>
        <translation>Kaplan–Yorke dimension</translation>
    </message>
    <message>
        <source>The parameter σ of the point</source>
        <translation>The parameter σ of the point</translation>
    </message>
    <message>
        <source>The parameter R of the point</source>
        <translation>The parameter R of the point</translation>
    </message>
    <message>
        <source>The parameter b of the point</source>
        <translation>The parameter b of the point</translation>
    </message>
    <message>
        <source>The estimate of %1 and, with error bars, its 95 % half-width</source>
        <translation>The estimate of %1 and, with error bars, its 95 % half-width</translation>
    </message>
    <message>
        <source>The Kaplan–Yorke dimension of the estimates</source>
        <translation>The Kaplan–Yorke dimension of the estimates</translation>
    </message>
    <message>
        <source>The time the run has reached</source>
        <translation>The time the run has reached</translation>
    </message>
    <message>
        <source>The status of the run: ok, error, inconsistent, or how far it is</source>
        <translation>The status of the run: ok, error, inconsistent, or how far it is</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>&amp;Stop</source>
        <translation>&amp;Stop</translation>
    </message>
    <message>
        <source>Stops the run of this point</source>
        <translation>Stops the run of this point</translation>
    </message>
    <message>
        <source>Projection</source>
        <translation>Projection</translation>
    </message>
    <message>
        <source>x–z</source>
        <translation>x–z</translation>
    </message>
    <message>
        <source>x–y</source>
        <translation>x–y</translation>
    </message>
    <message>
        <source>y–z</source>
        <translation>y–z</translation>
    </message>
    <message>
        <source>computing…</source>
        <translation>computing…</translation>
    </message>
    <message>
        <source>computing… interval %1 of %2</source>
        <translation>computing… interval %1 of %2</translation>
    </message>
    <message>
        <source>Error bars are off.</source>
        <translation>Error bars are off.</translation>
    </message>
    <message>
        <source>± 95 % half-width, batches of %1 intervals</source>
        <translation>± 95 % half-width, batches of %1 intervals</translation>
    </message>
    <message>
        <source>No error bars: they need at least %1 batches, and this run has %2 (n = %3, batches of %4 intervals).</source>
        <translation>No error bars: they need at least %1 batches, and this run has %2 (n = %3, batches of %4 intervals).</translation>
    </message>
    <message>
        <source>± once %1 batches of %2 intervals are complete</source>
        <translation>± once %1 batches of %2 intervals are complete</translation>
    </message>
    <message>
        <source>stopped: the estimates of interval %1 of %2</source>
        <translation>stopped: the estimates of interval %1 of %2</translation>
    </message>
    <message>
        <source>stopped before the first measured interval</source>
        <translation>stopped before the first measured interval</translation>
    </message>
    <message>
        <source>error: an arithmetic fault stopped the run at t = %1</source>
        <translation>error: an arithmetic fault stopped the run at t = %1</translation>
    </message>
    <message>
        <source>inconsistent: λ1 + λ2 + λ3 is %1 away from −(σ + 1 + b)</source>
        <translation>inconsistent: λ1 + λ2 + λ3 is %1 away from −(σ + 1 + b)</translation>
    </message>
    <message>
        <source>ok</source>
        <translation>ok</translation>
    </message>
    <message>
        <source>The parameters of the point</source>
        <translation>The parameters of the point</translation>
    </message>
    <message>
        <source>The estimates of the exponents after λ3</source>
        <translation>The estimates of the exponents after λ3</translation>
    </message>
    <message>
        <source>Parameters</source>
        <translation>Parameters</translation>
    </message>
    <message>
        <source>Projection across</source>
        <translation>Projection across</translation>
    </message>
    <message>
        <source>Projection up</source>
        <translation>Projection up</translation>
    </message>
    <message>
        <source>U&amp;p</source>
        <translation>U&amp;p</translation>
    </message>
    <message>
        <source>inconsistent: the sum of the exponents is %1 away from the mean divergence</source>
        <translation>inconsistent: the sum of the exponents is %1 away from the mean divergence</translation>
    </message>
    <message>
        <source>Acr&amp;oss</source>
        <translation>Acr&amp;oss</translation>
    </message>
</context>
</TS>
