<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="it_IT">
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
        <translation>Le tue equazioni</translation>
    </message>
    <message>
        <source>One statement a line: x&apos; = -y - z (an equation), a = 0.2 (a parameter and its default), x(0) = 1 (a starting value); # starts a comment.</source>
        <translation>Un enunciato per riga: x&apos; = -y - z (un&apos;equazione), a = 0.2 (un parametro e il suo valore predefinito), x(0) = 1 (un valore iniziale); # apre un commento.</translation>
    </message>
    <message>
        <source>Equations</source>
        <translation>Equazioni</translation>
    </message>
    <message>
        <source>The flow as text, one statement a line</source>
        <translation>Il flusso come testo, un enunciato per riga</translation>
    </message>
    <message>
        <source>&amp;Map</source>
        <translation>&amp;Mappa</translation>
    </message>
    <message>
        <source>The equations parse.</source>
        <translation>Le equazioni sono corrette.</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Annulla</translation>
    </message>
</context>
<context>
    <name>veltrano::explorer::ExplorerWindow</name>
    <message>
        <source>Veltrano Explorer</source>
        <translation>Veltrano Esploratore</translation>
    </message>
    <message>
        <source>Shown</source>
        <translation>Mostrato</translation>
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
        <translation>dimensione di Kaplan–Yorke</translation>
    </message>
    <message>
        <source>half-width of λ1</source>
        <translation>semiampiezza di λ1</translation>
    </message>
    <message>
        <source>classes: chaotic, periodic, at rest, undecided</source>
        <translation>classi: caotico, periodico, in quiete, indeciso</translation>
    </message>
    <message>
        <source>Sho&amp;w</source>
        <translation>Mostr&amp;a</translation>
    </message>
    <message>
        <source>Progress</source>
        <translation>Avanzamento</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Ferma</translation>
    </message>
    <message>
        <source>&amp;Back</source>
        <translation>&amp;Indietro</translation>
    </message>
    <message>
        <source>&amp;Forward</source>
        <translation>&amp;Avanti</translation>
    </message>
    <message>
        <source>&amp;Reset view</source>
        <translation>&amp;Vista iniziale</translation>
    </message>
    <message>
        <source>&amp;Stop</source>
        <translation>&amp;Ferma</translation>
    </message>
    <message>
        <source>Export &amp;picture…</source>
        <translation>Esporta &amp;immagine…</translation>
    </message>
    <message>
        <source>Export &amp;CSV…</source>
        <translation>Esporta &amp;CSV…</translation>
    </message>
    <message>
        <source>Copy as &amp;command</source>
        <translation>Copia come &amp;comando</translation>
    </message>
    <message>
        <source>Copy as P&amp;ython</source>
        <translation>Copia come P&amp;ython</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Chiudi</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Modifica</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Vista</translation>
    </message>
    <message>
        <source>Map</source>
        <translation>Mappa</translation>
    </message>
    <message>
        <source>%1 of %2 points</source>
        <translation>%1 di %2 punti</translation>
    </message>
    <message>
        <source> · %1 points/s</source>
        <translation> · %1 punti/s</translation>
    </message>
    <message>
        <source> · %1 left</source>
        <translation> · mancano %1</translation>
    </message>
    <message>
        <source> · stopped</source>
        <translation> · fermato</translation>
    </message>
    <message>
        <source>Error bars are off: no point is classified, and undecided points are not marked.</source>
        <translation>Barre d&apos;errore spente: nessun punto è classificato e i punti indecisi non sono segnati.</translation>
    </message>
    <message>
        <source>Fewer than 10 batches (n / batch): no point gets error bars, so none is classified.</source>
        <translation>Meno di 10 blocchi (n / blocco): nessun punto ha barre d&apos;errore, quindi nessuno è classificato.</translation>
    </message>
    <message>
        <source>Error bars on (batches of %1): undecided points are shaded.</source>
        <translation>Barre d&apos;errore accese (blocchi di %1): i punti indecisi sono ombreggiati.</translation>
    </message>
    <message>
        <source>The map is not complete (%1 of %2 points): a CSV holds every point, as veltrano-cli sweep writes it. Wait for the map, then export.</source>
        <translation>La mappa non è completa (%1 di %2 punti): un CSV contiene ogni punto, come lo scrive veltrano-cli sweep. Attendere la mappa, poi esportare.</translation>
    </message>
    <message>
        <source>Export the map&apos;s rows</source>
        <translation>Esporta le righe della mappa</translation>
    </message>
    <message>
        <source>CSV files (*.csv)</source>
        <translation>File CSV (*.csv)</translation>
    </message>
    <message>
        <source>Export the map as a picture</source>
        <translation>Esporta la mappa come immagine</translation>
    </message>
    <message>
        <source>PNG pictures (*.png);;SVG drawings (*.svg)</source>
        <translation>Immagini PNG (*.png);;Disegni SVG (*.svg)</translation>
    </message>
    <message>
        <source>The command is on the clipboard</source>
        <translation>Il comando è negli appunti</translation>
    </message>
    <message>
        <source>The Python call is on the clipboard</source>
        <translation>La chiamata Python è negli appunti</translation>
    </message>
    <message>
        <source>Point</source>
        <translation>Punto</translation>
    </message>
    <message>
        <source>σ = %1, R = %2, b = %3</source>
        <translation>σ = %1, R = %2, b = %3</translation>
    </message>
    <message>
        <source>not computed yet: %1</source>
        <translation>non ancora calcolato: %1</translation>
    </message>
    <message>
        <source>error, an arithmetic fault at t = %1: %2</source>
        <translation>errore, un errore aritmetico a t = %1: %2</translation>
    </message>
    <message>
        <source>inconsistent</source>
        <translation>incoerente</translation>
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
        <translation>Le righe sono in scrittura su %1: attendere la fine dell&apos;esportazione o annullarla.</translation>
    </message>
    <message>
        <source>Writing the rows to %1…</source>
        <translation>Scrittura delle righe su %1…</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annulla</translation>
    </message>
    <message>
        <source>The export was cancelled: %1 is as it was.</source>
        <translation>Esportazione annullata: %1 è rimasto com&apos;era.</translation>
    </message>
    <message>
        <source>The rows are written to %1</source>
        <translation>Le righe sono state scritte su %1</translation>
    </message>
    <message>
        <source>What the map shows of each point. The classes come from the error bars of λ1 and λ2: chaotic where λ1 is above its bar; periodic where λ1 is zero within its bar (the flow&apos;s own zero exponent) and λ2 is below its bar; at rest where λ1 is below its bar; undecided otherwise. A conservative flow (divergence zero, the exponents summing to zero, as Hénon–Heiles) has no contracting direction: its regular orbits, with λ1 and λ2 both zero within their bars, are undecided, never periodic; its chaotic orbits are chaotic.</source>
        <translation>Che cosa la mappa mostra di ogni punto. Le classi vengono dalle barre d&apos;errore di λ1 e λ2: caotico dove λ1 è sopra la sua barra; periodico dove λ1 è zero entro la sua barra (l&apos;esponente nullo del flusso) e λ2 è sotto la sua barra; a riposo dove λ1 è sotto la sua barra; indeciso altrimenti. Un flusso conservativo (divergenza nulla, esponenti a somma zero, come Hénon–Heiles) non ha direzioni che si contraggono: le sue orbite regolari, con λ1 e λ2 entrambi zero entro le barre, sono indecise, mai periodiche; le sue orbite caotiche sono caotiche.</translation>
    </message>
    <message>
        <source>Your equations cannot be mapped: %1</source>
        <translation>Le tue equazioni non si possono mappare: %1</translation>
    </message>
    <message>
        <source>Your equations have no parameter: there is nothing to map</source>
        <translation>Le tue equazioni non hanno parametri: non c&apos;è nulla da mappare</translation>
    </message>
</context>
<context>
    <name>veltrano::explorer::LegendWidget</name>
    <message>
        <source>chaotic</source>
        <translation>caotico</translation>
    </message>
    <message>
        <source>periodic</source>
        <translation>periodico</translation>
    </message>
    <message>
        <source>at rest</source>
        <translation>in quiete</translation>
    </message>
    <message>
        <source>undecided</source>
        <translation>indeciso</translation>
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
        <translation>classe</translation>
    </message>
    <message>
        <source>error</source>
        <translation>errore</translation>
    </message>
    <message>
        <source>inconsistent</source>
        <translation>incoerente</translation>
    </message>
    <message>
        <source>Legend</source>
        <translation>Legenda</translation>
    </message>
    <message>
        <source>no error bars</source>
        <translation>senza barre d&apos;errore</translation>
    </message>
    <message>
        <source>%1 from %2 (%3) to %4 (warm)</source>
        <translation>%1 da %2 (%3) a %4 (caldo)</translation>
    </message>
    <message>
        <source>neutral</source>
        <translation>neutro</translation>
    </message>
    <message>
        <source>cool</source>
        <translation>freddo</translation>
    </message>
</context>
<context>
    <name>veltrano::explorer::MapExport</name>
    <message>
        <source>Cannot write %1: %2. The file is as it was.</source>
        <translation>Impossibile scrivere %1: %2. Il file è rimasto com&apos;era.</translation>
    </message>
    <message>
        <source>n = %1</source>
        <translation>n = %1</translation>
    </message>
    <message>
        <source>, transient %1</source>
        <translation>, transitorio %1</translation>
    </message>
    <message>
        <source>, target error %1</source>
        <translation>, errore obiettivo %1</translation>
    </message>
    <message>
        <source>%1 over %2 and %3 — %4 = %5, %6</source>
        <translation>%1 su %2 e %3 — %4 = %5, %6</translation>
    </message>
    <message>
        <source>error</source>
        <translation>errore</translation>
    </message>
    <message>
        <source>inconsistent</source>
        <translation>incoerente</translation>
    </message>
    <message>
        <source>undecided</source>
        <translation>indeciso</translation>
    </message>
    <message>
        <source>%1 and %2</source>
        <translation>%1 e %2</translation>
    </message>
    <message>
        <source>%1 over %2 — %3, %4</source>
        <translation>%1 su %2 — %3, %4</translation>
    </message>
</context>
<context>
    <name>veltrano::explorer::MapWidget</name>
    <message>
        <source>Map</source>
        <translation>Mappa</translation>
    </message>
</context>
<context>
    <name>veltrano::explorer::SettingsForm</name>
    <message>
        <source>Axes</source>
        <translation>Assi</translation>
    </message>
    <message>
        <source>Across</source>
        <translation>In orizzontale</translation>
    </message>
    <message>
        <source>Up</source>
        <translation>In verticale</translation>
    </message>
    <message>
        <source>Across from</source>
        <translation>In orizzontale da</translation>
    </message>
    <message>
        <source>Across to</source>
        <translation>In orizzontale fino a</translation>
    </message>
    <message>
        <source>Up from</source>
        <translation>In verticale da</translation>
    </message>
    <message>
        <source>Up to</source>
        <translation>In verticale fino a</translation>
    </message>
    <message>
        <source>Columns</source>
        <translation>Colonne</translation>
    </message>
    <message>
        <source>Rows</source>
        <translation>Righe</translation>
    </message>
    <message>
        <source>to</source>
        <translation>a</translation>
    </message>
    <message>
        <source>&amp;Across</source>
        <translation>In ori&amp;zzontale</translation>
    </message>
    <message>
        <source>from</source>
        <translation>da</translation>
    </message>
    <message>
        <source>&amp;Columns</source>
        <translation>&amp;Colonne</translation>
    </message>
    <message>
        <source>&amp;Up</source>
        <translation>In vertica&amp;le</translation>
    </message>
    <message>
        <source>&amp;Rows</source>
        <translation>Ri&amp;ghe</translation>
    </message>
    <message>
        <source>Parameters</source>
        <translation>Parametri</translation>
    </message>
    <message>
        <source>Run</source>
        <translation>Esecuzione</translation>
    </message>
    <message>
        <source>n, measured intervals</source>
        <translation>n, intervalli misurati</translation>
    </message>
    <message>
        <source>Transient intervals</source>
        <translation>Intervalli di transitorio</translation>
    </message>
    <message>
        <source>Initial %1</source>
        <translation>%1 iniziale</translation>
    </message>
    <message>
        <source>Step h</source>
        <translation>Passo h</translation>
    </message>
    <message>
        <source>Steps per interval</source>
        <translation>Passi per intervallo</translation>
    </message>
    <message>
        <source>Batch length</source>
        <translation>Lunghezza del blocco</translation>
    </message>
    <message>
        <source>Target error</source>
        <translation>Errore obiettivo</translation>
    </message>
    <message>
        <source>none</source>
        <translation>nessuno</translation>
    </message>
    <message>
        <source>&amp;n</source>
        <translation>&amp;n</translation>
    </message>
    <message>
        <source>&amp;Transient</source>
        <translation>&amp;Transitorio</translation>
    </message>
    <message>
        <source>&amp;Initial point</source>
        <translation>P&amp;unto iniziale</translation>
    </message>
    <message>
        <source>Step &amp;h</source>
        <translation>Passo &amp;h</translation>
    </message>
    <message>
        <source>&amp;Batch</source>
        <translation>Blocco</translation>
    </message>
    <message>
        <source>Tar&amp;get error</source>
        <translation>Errore obiettivo</translation>
    </message>
    <message>
        <source>%1: a decimal number is wanted (digits, at most one point, a leading minus)</source>
        <translation>%1: serve un numero decimale (cifre, al più un punto, un meno iniziale)</translation>
    </message>
    <message>
        <source>The two axes must be two different parameters</source>
        <translation>I due assi devono essere due parametri diversi</translation>
    </message>
    <message>
        <source>Error bars (batch means)</source>
        <translation>Barre d&apos;errore (medie a blocchi)</translation>
    </message>
    <message>
        <source>en</source>
        <comment>the language of these texts: en or it</comment>
        <translation>it</translation>
    </message>
    <message>
        <source>Initial point</source>
        <translation>Punto iniziale</translation>
    </message>
    <message>
        <source>Flow</source>
        <translation>Flusso</translation>
    </message>
    <message>
        <source>System</source>
        <translation>Sistema</translation>
    </message>
    <message>
        <source>The flow mapped: Lorenz or another flow of the catalogue</source>
        <translation>Il flusso della mappa: Lorenz o un altro flusso del catalogo</translation>
    </message>
    <message>
        <source>%1 has no parameters: there is nothing to map</source>
        <translation>%1 non ha parametri: non c&apos;è niente da mappare</translation>
    </message>
    <message>
        <source>Dimension</source>
        <translation>Dimensione</translation>
    </message>
    <message>
        <source>Exponents computed</source>
        <translation>Esponenti calcolati</translation>
    </message>
    <message>
        <source>k: the k largest exponents are computed (all d by default)</source>
        <translation>k: si calcolano i k esponenti più grandi (tutti i d se non indicato)</translation>
    </message>
    <message>
        <source>S&amp;ystem</source>
        <translation>&amp;Sistema</translation>
    </message>
    <message>
        <source>&amp;Dimension</source>
        <translation>&amp;Dimensione</translation>
    </message>
    <message>
        <source>E&amp;xponents</source>
        <translation>Es&amp;ponenti</translation>
    </message>
    <message>
        <source>The d starting values, separated by commas</source>
        <translation>I d valori iniziali, separati da virgole</translation>
    </message>
    <message>
        <source>Unknown system %1</source>
        <translation>Sistema sconosciuto %1</translation>
    </message>
    <message>
        <source>Initial point: %1 values are wanted, separated by commas (%2 given)</source>
        <translation>Punto iniziale: servono %1 valori, separati da virgole (ne sono dati %2)</translation>
    </message>
    <message>
        <source>Initial point: %1 is not a decimal number (digits, at most one point, a leading minus)</source>
        <translation>Punto iniziale: %1 non è un numero decimale (cifre, al più un punto, un meno iniziale)</translation>
    </message>
    <message>
        <source>Your equations…</source>
        <translation>Le tue equazioni…</translation>
    </message>
    <message>
        <source>d: the number of variables of the flow</source>
        <translation>d: il numero delle variabili del flusso</translation>
    </message>
    <message>
        <source>Error bars (batch &amp;means)</source>
        <translation>Barre d&apos;errore (medie a &amp;blocchi)</translation>
    </message>
    <message>
        <source>Steps per interva&amp;l</source>
        <translation>Passi per &amp;intervallo</translation>
    </message>
</context>
<context>
    <name>veltrano::point_panel::AttractorView</name>
    <message>
        <source>Attractor</source>
        <translation>Attrattore</translation>
    </message>
    <message>
        <source>Projection on %1–%2: no states yet</source>
        <translation>Proiezione su %1–%2: ancora nessuno stato</translation>
    </message>
    <message>
        <source>Projection on %1–%2 of %3 states, one every %4 steps; %1 from %5 to %6, %2 from %7 to %8</source>
        <translation>Proiezione su %1–%2 di %3 stati, uno ogni %4 passi; %1 da %5 a %6, %2 da %7 a %8</translation>
    </message>
</context>
<context>
    <name>veltrano::point_panel::ConvergenceView</name>
    <message>
        <source>Convergence of λ1, λ2, λ3</source>
        <translation>Convergenza di λ1, λ2, λ3</translation>
    </message>
    <message>
        <source>No estimates yet</source>
        <translation>Ancora nessuna stima</translation>
    </message>
    <message>
        <source>At t = %1, interval %2:</source>
        <translation>A t = %1, intervallo %2:</translation>
    </message>
    <message>
        <source>Error bars are off.</source>
        <translation>Barre d&apos;errore spente.</translation>
    </message>
    <message>
        <source>t (logarithmic)</source>
        <translation>t (logaritmico)</translation>
    </message>
    <message>
        <source>estimate of λ</source>
        <translation>stima di λ</translation>
    </message>
    <message>
        <source>shaded: 95 % intervals</source>
        <translation>in ombra: intervalli al 95 %</translation>
    </message>
    <message>
        <source>Convergence of λ1 … λ%1</source>
        <translation>Convergenza di λ1 … λ%1</translation>
    </message>
</context>
<context>
    <name>veltrano::point_panel::PointPanel</name>
    <message>
        <source>A point</source>
        <translation>Un punto</translation>
    </message>
    <message>
        <source>The point</source>
        <translation>Il punto</translation>
    </message>
    <message>
        <source>Kaplan–Yorke dimension</source>
        <translation>dimensione di Kaplan–Yorke</translation>
    </message>
    <message>
        <source>The parameter σ of the point</source>
        <translation>Il parametro σ del punto</translation>
    </message>
    <message>
        <source>The parameter R of the point</source>
        <translation>Il parametro R del punto</translation>
    </message>
    <message>
        <source>The parameter b of the point</source>
        <translation>Il parametro b del punto</translation>
    </message>
    <message>
        <source>The estimate of %1 and, with error bars, its 95 % half-width</source>
        <translation>La stima di %1 e, con le barre d&apos;errore, la sua semiampiezza al 95 %</translation>
    </message>
    <message>
        <source>The Kaplan–Yorke dimension of the estimates</source>
        <translation>La dimensione di Kaplan–Yorke delle stime</translation>
    </message>
    <message>
        <source>The time the run has reached</source>
        <translation>Il tempo raggiunto dal calcolo</translation>
    </message>
    <message>
        <source>The status of the run: ok, error, inconsistent, or how far it is</source>
        <translation>Lo stato del calcolo: ok, errore, incoerente, o a che punto è</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Stato</translation>
    </message>
    <message>
        <source>&amp;Stop</source>
        <translation>Fe&amp;rma</translation>
    </message>
    <message>
        <source>Stops the run of this point</source>
        <translation>Ferma il calcolo di questo punto</translation>
    </message>
    <message>
        <source>Projection</source>
        <translation>Proiezione</translation>
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
        <translation>calcolo in corso…</translation>
    </message>
    <message>
        <source>computing… interval %1 of %2</source>
        <translation>calcolo in corso… intervallo %1 di %2</translation>
    </message>
    <message>
        <source>Error bars are off.</source>
        <translation>Barre d&apos;errore spente.</translation>
    </message>
    <message>
        <source>± 95 % half-width, batches of %1 intervals</source>
        <translation>± semiampiezza al 95 %, blocchi di %1 intervalli</translation>
    </message>
    <message>
        <source>No error bars: they need at least %1 batches, and this run has %2 (n = %3, batches of %4 intervals).</source>
        <translation>Nessuna barra d&apos;errore: servono almeno %1 blocchi, e questo calcolo ne ha %2 (n = %3, blocchi di %4 intervalli).</translation>
    </message>
    <message>
        <source>± once %1 batches of %2 intervals are complete</source>
        <translation>± quando %1 blocchi di %2 intervalli sono completi</translation>
    </message>
    <message>
        <source>stopped: the estimates of interval %1 of %2</source>
        <translation>fermato: le stime dell&apos;intervallo %1 di %2</translation>
    </message>
    <message>
        <source>stopped before the first measured interval</source>
        <translation>fermato prima del primo intervallo misurato</translation>
    </message>
    <message>
        <source>error: an arithmetic fault stopped the run at t = %1</source>
        <translation>errore: un errore aritmetico ha fermato il calcolo a t = %1</translation>
    </message>
    <message>
        <source>inconsistent: λ1 + λ2 + λ3 is %1 away from −(σ + 1 + b)</source>
        <translation>incoerente: λ1 + λ2 + λ3 dista %1 da −(σ + 1 + b)</translation>
    </message>
    <message>
        <source>ok</source>
        <translation>ok</translation>
    </message>
    <message>
        <source>The parameters of the point</source>
        <translation>I parametri del punto</translation>
    </message>
    <message>
        <source>The estimates of the exponents after λ3</source>
        <translation>Le stime degli esponenti dopo λ3</translation>
    </message>
    <message>
        <source>Parameters</source>
        <translation>Parametri</translation>
    </message>
    <message>
        <source>Projection across</source>
        <translation>Proiezione in orizzontale</translation>
    </message>
    <message>
        <source>Projection up</source>
        <translation>Proiezione in verticale</translation>
    </message>
    <message>
        <source>U&amp;p</source>
        <translation>V&amp;erticale</translation>
    </message>
    <message>
        <source>inconsistent: the sum of the exponents is %1 away from the mean divergence</source>
        <translation>incoerente: la somma degli esponenti dista %1 dalla divergenza media</translation>
    </message>
    <message>
        <source>Acr&amp;oss</source>
        <translation>&amp;Orizzontale</translation>
    </message>
</context>
</TS>
