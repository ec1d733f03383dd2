<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="fr">
<context>
    <name>Asymptotes</name>
    <message>
        <source> : pas d&apos;asymptotes (num�rateur ou d�nominateur nul)</source>
        <translation> : no asymptotes (zero numerator or denominator)</translation>
    </message>
    <message>
        <source> : pente initiale </source>
        <translation> : initial slope </translation>
    </message>
    <message>
        <source> dB/d�cade (classe </source>
        <translation> dB/decade (class </translation>
    </message>
    <message>
        <source>  aucune cassure</source>
        <translation>  no break</translation>
    </message>
    <message>
        <source>p�le</source>
        <translation>pole</translation>
    </message>
    <message>
        <source>z�ro</source>
        <translation>zero</translation>
    </message>
    <message>
        <source> d&apos;ordre </source>
        <translation> of order </translation>
    </message>
    <message>
        <source>, r�sonance </source>
        <translation>, resonance </translation>
    </message>
    <message>
        <source> (partie r�elle positive)</source>
        <translation> (positive real part)</translation>
    </message>
    <message>
        <source>r�sonance </source>
        <translation>resonance </translation>
    </message>
</context>
<context>
    <name>Courbes</name>
    <message>
        <source>produit</source>
        <translation>product</translation>
    </message>
</context>
<context>
    <name>FileErrors</name>
    <message>
        <source>dossier ou fichier introuvable</source>
        <translation>no such folder or file</translation>
    </message>
    <message>
        <source>permission refus�e</source>
        <translation>permission denied</translation>
    </message>
    <message>
        <source>syst�me de fichiers en lecture seule</source>
        <translation>read-only file system</translation>
    </message>
    <message>
        <source>plus de place sur le disque</source>
        <translation>no space left on the disk</translation>
    </message>
    <message>
        <source>quota de disque d�pass�</source>
        <translation>disk quota exceeded</translation>
    </message>
    <message>
        <source>un �l�ment du chemin n&apos;est pas un dossier</source>
        <translation>a component of the path is not a folder</translation>
    </message>
    <message>
        <source>le nom d�signe un dossier</source>
        <translation>the name is a folder</translation>
    </message>
    <message>
        <source>un dossier porte d�j� ce nom</source>
        <translation>a folder already has this name</translation>
    </message>
    <message>
        <source>fichier trop volumineux</source>
        <translation>file too large</translation>
    </message>
    <message>
        <source>erreur d&apos;entr�e/sortie</source>
        <translation>input/output error</translation>
    </message>
    <message>
        <source>nom de fichier trop long</source>
        <translation>file name too long</translation>
    </message>
    <message>
        <source>trop de liens symboliques</source>
        <translation>too many symbolic links</translation>
    </message>
    <message>
        <source>fichier en cours d&apos;utilisation</source>
        <translation>file in use</translation>
    </message>
    <message>
        <source>trop de fichiers ouverts</source>
        <translation>too many open files</translation>
    </message>
    <message>
        <source>m�moire insuffisante</source>
        <translation>out of memory</translation>
    </message>
    <message>
        <source>erreur syst�me n� </source>
        <translation>system error no. </translation>
    </message>
    <message>
        <source>�criture impossible</source>
        <translation>Cannot write</translation>
    </message>
    <message>
        <source>�criture impossible : le nom ne d�signe pas un fichier ordinaire.</source>
        <translation>Cannot write: the name is not a regular file.</translation>
    </message>
    <message>
        <source>Impossible de cr�er un fichier temporaire dans le dossier</source>
        <translation>Cannot create a temporary file in the folder</translation>
    </message>
    <message>
        <source>Le fichier n&apos;a pas pu �tre remplac�</source>
        <translation>The file could not be replaced</translation>
    </message>
    <message>
        <source>Lecture impossible : </source>
        <translation>Cannot read: </translation>
    </message>
    <message>
        <source>Lecture impossible : ce n&apos;est pas un fichier ordinaire (tube nomm� ou p�riph�rique).</source>
        <translation>Cannot read: not a regular file (named pipe or device).</translation>
    </message>
</context>
<context>
    <name>Locus</name>
    <message>
        <source>Aucune fonction cochée : rien à tracer</source>
        <translation>No function ticked: nothing to draw</translation>
    </message>
    <message>
        <source>Une fonction cochée est invalide : rien n&apos;est tracé</source>
        <translation>A ticked function is invalid: nothing is drawn</translation>
    </message>
    <message>
        <source> n&apos;apparaît dans aucune fonction cochée</source>
        <translation> appears in no ticked function</translation>
    </message>
    <message>
        <source>1+H est identiquement nul de </source>
        <translation>1+H is identically zero from </translation>
    </message>
    <message>
        <source> à </source>
        <translation> to </translation>
    </message>
    <message>
        <source> : la boucle fermée n&apos;est pas définie</source>
        <translation>: the closed loop is not defined</translation>
    </message>
    <message>
        <source>Pôles en boucle fermée pour </source>
        <translation>Closed-loop poles for </translation>
    </message>
    <message>
        <source>  aucun (1+H sans racine)</source>
        <translation>  none (1+H has no root)</translation>
    </message>
    <message>
        <source>Instable : </source>
        <translation>Unstable: </translation>
    </message>
    <message>
        <source> pôle(s) à partie réelle positive ou nulle</source>
        <translation> pole(s) with positive or zero real part</translation>
    </message>
    <message>
        <source>Dominants : </source>
        <translation>Dominant: </translation>
    </message>
    <message>
        <source>Dominant : </source>
        <translation>Dominant: </translation>
    </message>
    <message>
        <source> (les suivants </source>
        <translation> (the next ones </translation>
    </message>
    <message>
        <source> fois plus loin de l&apos;axe)</source>
        <translation> times farther from the axis)</translation>
    </message>
    <message>
        <source>Stable pour </source>
        <translation>Stable for </translation>
    </message>
    <message>
        <source>Instable pour </source>
        <translation>Unstable for </translation>
    </message>
    <message>
        <source>Axe imaginaire franchi pour </source>
        <translation>Imaginary axis crossed for </translation>
    </message>
    <message>
        <source> en w = </source>
        <translation> at w = </translation>
    </message>
    <message>
        <source>1+H est identiquement nul pour </source>
        <translation>1+H is identically zero for </translation>
    </message>
    <message>
        <source>Le degré de 1+H baisse pour </source>
        <translation>The degree of 1+H drops for </translation>
    </message>
    <message>
        <source> : une branche part à l&apos;infini</source>
        <translation>: a branch goes to infinity</translation>
    </message>
    <message>
        <source>Les racines sortent des nombres représentables pour </source>
        <translation>The roots leave the representable numbers for </translation>
    </message>
</context>
<context>
    <name>Margins</name>
    <message>
        <source> globale : </source>
        <translation> global : </translation>
    </message>
    <message>
        <source> globale: </source>
        <translation> global: </translation>
    </message>
    <message>
        <source> en w= </source>
        <translation> at w= </translation>
    </message>
    <message>
        <source>MP</source>
        <translation>PM</translation>
    </message>
    <message>
        <source>MG</source>
        <translation>GM</translation>
    </message>
</context>
<context>
    <name>Nyquist</name>
    <message>
        <source>indéfini</source>
        <translation>undefined</translation>
    </message>
    <message>
        <source>Limite de stabilité</source>
        <translation>Stability limit</translation>
    </message>
    <message>
        <source>pôle en boucle fermée en w= </source>
        <translation>closed-loop pole at w= </translation>
    </message>
    <message>
        <source>Boucle fermée stable</source>
        <translation>Closed loop stable</translation>
    </message>
    <message>
        <source>Boucle fermée instable</source>
        <translation>Closed loop unstable</translation>
    </message>
    <message>
        <source>pôle(s) à partie réelle positive</source>
        <translation>pole(s) with positive real part</translation>
    </message>
    <message>
        <source>(les racines de D+N en donnent </source>
        <translation>(the roots of D+N give </translation>
    </message>
    <message>
        <source>critère du revers : -1 est laissé à gauche</source>
        <translation>simplified criterion: -1 is left on the left</translation>
    </message>
    <message>
        <source>critère du revers : -1 est laissé à droite</source>
        <translation>simplified criterion: -1 is left on the right</translation>
    </message>
    <message>
        <source>Aucune fonction cochée : rien à tracer</source>
        <translation>No function ticked: nothing to draw</translation>
    </message>
    <message>
        <source>Une fonction cochée est invalide : rien n&apos;est tracé</source>
        <translation>A ticked function is invalid: nothing is drawn</translation>
    </message>
    <message>
        <source>Dénominateur nul : la fonction de transfert n&apos;existe pas</source>
        <translation>Zero denominator: the transfer function does not exist</translation>
    </message>
    <message>
        <source>1+H est identiquement nul : la boucle fermée n&apos;est pas définie</source>
        <translation>1+H is identically zero: the closed loop is not defined</translation>
    </message>
    <message>
        <source>Coefficients trop extrêmes : le calcul dépasse les nombres représentables</source>
        <translation>Coefficients too extreme: the computation exceeds the representable numbers</translation>
    </message>
    <message>
        <source>Lieu de Nyquist de </source>
        <translation>Nyquist plot of </translation>
    </message>
    <message>
        <source>échelle compressée au-delà de |H| = </source>
        <translation>scale compressed beyond |H| = </translation>
    </message>
</context>
<context>
    <name>StepResponse</name>
    <message>
        <source>Valeur finale : instable</source>
        <translation>Final value: unstable</translation>
    </message>
    <message>
        <source>Valeur finale : rampe de vitesse </source>
        <translation>Final value: ramp of slope </translation>
    </message>
    <message>
        <source>Valeur finale : </source>
        <translation>Final value: </translation>
    </message>
    <message>
        <source>D�passement D% : </source>
        <translation>Overshoot D%: </translation>
    </message>
    <message>
        <source> % en t= </source>
        <translation> % at t= </translation>
    </message>
    <message>
        <source>D�passement D% : aucun</source>
        <translation>Overshoot D%: none</translation>
    </message>
    <message>
        <source>Temps de r�ponse � 5 % : </source>
        <translation>Settling time (5 %): </translation>
    </message>
    <message>
        <source>au-del� de </source>
        <translation>beyond </translation>
    </message>
    <message>
        <source>Temps de mont�e 10-90 % : </source>
        <translation>Rise time 10-90 %: </translation>
    </message>
    <message>
        <source>Aucune fonction coch�e : rien � tracer</source>
        <translation>No function ticked: nothing to draw</translation>
    </message>
    <message>
        <source>Une fonction coch�e est invalide : rien n&apos;est trac�</source>
        <translation>A ticked function is invalid: nothing is drawn</translation>
    </message>
    <message>
        <source>D�nominateur nul : la fonction de transfert n&apos;existe pas</source>
        <translation>Zero denominator: the transfer function does not exist</translation>
    </message>
    <message>
        <source>Num�rateur de degr� sup�rieur au d�nominateur : la r�ponse contient un Dirac, rien n&apos;est trac�</source>
        <translation>Numerator of higher degree than the denominator: the response contains a Dirac, nothing is drawn</translation>
    </message>
    <message>
        <source>1+H est identiquement nul : la boucle ferm�e n&apos;est pas d�finie</source>
        <translation>1+H is identically zero: the closed loop is not defined</translation>
    </message>
    <message>
        <source>Coefficients trop extr�mes : le calcul d�passe les nombres repr�sentables</source>
        <translation>Coefficients too extreme: the computation exceeds the representable numbers</translation>
    </message>
    <message>
        <source>Valeur finale : limite de stabilit�</source>
        <translation>Final value: stability limit</translation>
    </message>
    <message>
        <source>oscillation entretenue : w= </source>
        <translation>sustained oscillation: w= </translation>
    </message>
    <message>
        <source> rad/s, p�riode </source>
        <translation> rad/s, period </translation>
    </message>
    <message>
        <source>D�passement D% : pic au-del� de </source>
        <translation>Overshoot D%: peak beyond </translation>
    </message>
    <message>
        <source>t max ramen� de </source>
        <translation>t max brought down from </translation>
    </message>
    <message>
        <source> � </source>
        <translation> to </translation>
    </message>
    <message>
        <source>oscillation trop rapide pour le trac�</source>
        <translation>oscillation too fast to draw</translation>
    </message>
</context>
<context>
    <name>StepView</name>
    <message>
        <source>y(t), r�ponse indicielle de </source>
        <translation>y(t), step response of </translation>
    </message>
</context>
<context>
    <name>Texte</name>
    <message>
        <source>écrivez les nombres sans exposant (0.00000001 et non 1e-8)</source>
        <translation>write numbers without an exponent (0.00000001, not 1e-8)</translation>
    </message>
    <message>
        <source>écrivez * entre un nombre et p (2*p et non 2p)</source>
        <translation>write * between a number and p (2*p, not 2p)</translation>
    </message>
    <message>
        <source>écrivez les puissances de p de p^1 à p^5, un seul chiffre après ^</source>
        <translation>write the powers of p from p^1 to p^5, a single digit after ^</translation>
    </message>
    <message>
        <source>développez le polynôme en puissances croissantes de p</source>
        <translation>expand the polynomial in increasing powers of p</translation>
    </message>
</context>
<context>
    <name>TimeResponse</name>
    <message>
        <source>Erreur de tra�nage : </source>
        <translation>Velocity error: </translation>
    </message>
    <message>
        <source>Erreur de tra�nage : infinie</source>
        <translation>Velocity error: infinite</translation>
    </message>
    <message>
        <source>Erreur de tra�nage : nulle</source>
        <translation>Velocity error: zero</translation>
    </message>
    <message>
        <source>Erreur de tra�nage : aucune, la r�ponse est instable</source>
        <translation>Velocity error: none, the response is unstable</translation>
    </message>
    <message>
        <source>R�ponse impulsionnelle instable</source>
        <translation>Unstable impulse response</translation>
    </message>
    <message>
        <source>Pic : </source>
        <translation>Peak: </translation>
    </message>
    <message>
        <source> en t= </source>
        <translation> at t= </translation>
    </message>
    <message>
        <source>Plus un Dirac de poids </source>
        <translation>Plus a Dirac of weight </translation>
    </message>
    <message>
        <source> en t= 0 (non trac�)</source>
        <translation> at t= 0 (not drawn)</translation>
    </message>
    <message>
        <source>y(t), r�ponse � la rampe de </source>
        <translation>y(t), ramp response of </translation>
    </message>
    <message>
        <source>y(t), r�ponse impulsionnelle de </source>
        <translation>y(t), impulse response of </translation>
    </message>
</context>
<context>
    <name>tv::app::Cli</name>
    <message>
        <source> : numérateur invalide</source>
        <translation>: invalid numerator</translation>
    </message>
    <message>
        <source> : dénominateur invalide</source>
        <translation>: invalid denominator</translation>
    </message>
    <message>
        <source>
(tracevue --help pour l&apos;aide)
</source>
        <translation>
(tracevue --help for help)
</translation>
    </message>
    <message>
        <source>avertissement : une fonction s&apos;annule à une pulsation du tracé, les courbes s&apos;arrêtent là
</source>
        <translation>warning: a function vanishes at a pulsation of the plot, the curves stop there
</translation>
    </message>
    <message>
        <source>--%1%2 : le texte contient un caractère hors du jeu Windows-1252</source>
        <translation>--%1%2: the text contains a character outside the Windows-1252 set</translation>
    </message>
    <message>
        <source>--curves : « %1 » n&apos;est pas une liste de 1, 2, 3, 4 séparés par des virgules, ni « none »</source>
        <translation>--curves: “%1” is neither a comma-separated list of 1, 2, 3, 4 nor “none”</translation>
    </message>
    <message>
        <source>--set : NOM=VALEUR attendu, pas « %1 »</source>
        <translation>--set: NAME=VALUE expected, not “%1”</translation>
    </message>
    <message>
        <source>--set : paramètre inconnu « %1 » (%2 ou %3)</source>
        <translation>--set: unknown parameter “%1” (%2 or %3)</translation>
    </message>
    <message>
        <source>--set : « %1 » n&apos;est pas un nombre</source>
        <translation>--set: “%1” is not a number</translation>
    </message>
    <message>
        <source>--set : valeur négative refusée pour %1 (%2)</source>
        <translation>--set: negative value refused for %1 (%2)</translation>
    </message>
    <message>
        <source>--decades : MIN:MAX attendu avec -6 &lt;= MIN &lt; MAX &lt;= 5, pas « %1 »</source>
        <translation>--decades: MIN:MAX expected with -6 &lt;= MIN &lt; MAX &lt;= 5, not “%1”</translation>
    </message>
    <message>
        <source>--gain-max : 10, 20, ..., 100 attendu, pas « %1 »</source>
        <translation>--gain-max: 10, 20, ..., 100 expected, not “%1”</translation>
    </message>
    <message>
        <source>--mode : gain, phase ou both attendu, pas « %1 »</source>
        <translation>--mode: gain, phase or both expected, not “%1”</translation>
    </message>
    <message>
        <source>--view : bode ou black attendu, pas « %1 »</source>
        <translation>--view: bode or black expected, not “%1”</translation>
    </message>
    <message>
        <source>--units : « %1 » inconnu (hz, rad/s, ratio, db, rad, deg)</source>
        <translation>--units: unknown “%1” (hz, rad/s, ratio, db, rad, deg)</translation>
    </message>
    <message>
        <source>--size : LxH attendu, de %1 à %2 pixels de côté, pas « %3 »</source>
        <translation>--size: WxH expected, sides of %1 to %2 pixels, not “%3”</translation>
    </message>
    <message>
        <source>TEXTE</source>
        <translation>TEXT</translation>
    </message>
    <message>
        <source>numérateur de H2, comme --num1</source>
        <translation>numerator of H2, as --num1</translation>
    </message>
    <message>
        <source>numérateur de H3, comme --num1</source>
        <translation>numerator of H3, as --num1</translation>
    </message>
    <message>
        <source>dénominateur de H1 ; coche la fonction</source>
        <translation>denominator of H1; ticks the function</translation>
    </message>
    <message>
        <source>dénominateur de H2 ; coche la fonction</source>
        <translation>denominator of H2; ticks the function</translation>
    </message>
    <message>
        <source>dénominateur de H3 ; coche la fonction</source>
        <translation>denominator of H3; ticks the function</translation>
    </message>
    <message>
        <source>LISTE</source>
        <translation>LIST</translation>
    </message>
    <message>
        <source>cases cochées : 1, 2, 3, 4 (4 = H1.H2.H3) séparés par des virgules, ou none ; par défaut celles de FICHIER et de --num/--den</source>
        <translation>ticked boxes: 1, 2, 3, 4 (4 = H1.H2.H3) separated by commas, or none; by default those of FILE and of --num/--den</translation>
    </message>
    <message>
        <source>NOM=VALEUR</source>
        <translation>NAME=VALUE</translation>
    </message>
    <message>
        <source>paramètre K, T, A, B, W ou Ksi (casse indifférente), répétable ; une valeur négative est refusée</source>
        <translation>parameter K, T, A, B, W or Ksi (any case), repeatable; a negative value is refused</translation>
    </message>
    <message>
        <source>MIN:MAX</source>
        <translation>MIN:MAX</translation>
    </message>
    <message>
        <source>pulsations de 10^MIN à 10^MAX rad/s, avec -6 &lt;= MIN &lt; MAX &lt;= 5</source>
        <translation>pulsations from 10^MIN to 10^MAX rad/s, with -6 &lt;= MIN &lt; MAX &lt;= 5</translation>
    </message>
    <message>
        <source>DB</source>
        <translation>DB</translation>
    </message>
    <message>
        <source>haut de l&apos;échelle de gain : 10, 20, ..., 100 ; le bas vaut 10 - DB</source>
        <translation>top of the gain scale: 10, 20, ..., 100; the bottom is 10 - DB</translation>
    </message>
    <message>
        <source>MODE</source>
        <translation>MODE</translation>
    </message>
    <message>
        <source>gain, phase ou both : gain seul, phase seule ou les deux (défaut both)</source>
        <translation>gain, phase or both: gain only, phase only or both (default both)</translation>
    </message>
    <message>
        <source>VUE</source>
        <translation>VIEW</translation>
    </message>
    <message>
        <source>bode ou black : diagramme de Bode ou de Black (défaut bode)</source>
        <translation>bode or black: Bode diagram or Black chart (default bode)</translation>
    </message>
    <message>
        <source>recherche des marges (mode both) ; chaque texte de marge tracé est écrit sur la sortie standard, un par ligne, dans l&apos;ordre du tracé</source>
        <translation>finds the margins (mode both); each margin text drawn is written to standard output, one per line, in the order drawn</translation>
    </message>
    <message>
        <source>diagramme asymptotique (vue de Bode) : asymptotes de gain et de phase en tirets, pulsations de cassure, Ksi et résonance des seconds ordres</source>
        <translation>asymptotic diagram (Bode view): dashed gain and phase asymptotes, break pulsations, Ksi and resonance of the second orders</translation>
    </message>
    <message>
        <source>FICHIER</source>
        <translation>FILE</translation>
    </message>
    <message>
        <source>points mesurés lus dans un fichier texte (pulsation, gain, phase)</source>
        <translation>measured points read from a text file (pulsation, gain, phase)</translation>
    </message>
    <message>
        <source>U1,U2,U3</source>
        <translation>U1,U2,U3</translation>
    </message>
    <message>
        <source>unités des points : hz ou rad/s, ratio ou db, rad ou deg (défaut rad/s,db,deg)</source>
        <translation>units of the points: hz or rad/s, ratio or db, rad or deg (default rad/s,db,deg)</translation>
    </message>
    <message>
        <source>SORTIE</source>
        <translation>OUTPUT</translation>
    </message>
    <message>
        <source>écrit les lignes de la capture de la courbe H1.H2.H3 (cochée pour l&apos;occasion), chacune suivie de CR LF</source>
        <translation>writes the lines of the capture of the curve H1.H2.H3 (ticked for the occasion), each followed by CR LF</translation>
    </message>
    <message>
        <source>écrit le fichier de transfert de l&apos;état obtenu</source>
        <translation>writes the transfer file of the resulting state</translation>
    </message>
    <message>
        <source>LxH</source>
        <translation>WxH</translation>
    </message>
    <message>
        <source>taille du tracé en pixels (défaut 1134x678)</source>
        <translation>size of the plot in pixels (default 1134x678)</translation>
    </message>
    <message>
        <source>tout en noir, comme pour l&apos;impression</source>
        <translation>all in black, as for printing</translation>
    </message>
    <message>
        <source>avec --export .pdf : traits plus épais (« Noircir les traits ? » : Oui)</source>
        <translation>with --export .pdf: thicker lines (“Darken the lines?”: Yes)</translation>
    </message>
    <message>
        <source>feuille Maple (.mws) de la réponse indicielle des fonctions cochées</source>
        <translation>Maple worksheet (.mws) of the step response of the ticked functions</translation>
    </message>
    <message>
        <source>réponse indicielle des fonctions cochées : image .png ou .svg (640x420, comme la fenêtre « Réponse temporelle ») ou échantillons .csv (t,y) ; les lectures tracées sont écrites sur la sortie standard, une par ligne</source>
        <translation>step response of the ticked functions: picture .png or .svg (640x420, as the “Time response” window) or samples .csv (t,y); the read-outs drawn are written to standard output, one per line</translation>
    </message>
    <message>
        <source>SECONDES</source>
        <translation>SECONDS</translation>
    </message>
    <message>
        <source>avec --step : durée tracée (défaut : choisie d&apos;après les pôles)</source>
        <translation>with --step: time span drawn (default: chosen from the poles)</translation>
    </message>
    <message>
        <source>--t-max : durée positive en secondes attendue, pas « %1 »</source>
        <translation>--t-max: positive duration in seconds expected, not “%1”</translation>
    </message>
    <message>
        <source>avec --worksheet ou --step : boucle fermée à retour unitaire H/(1+H)</source>
        <translation>with --worksheet or --step: unity-feedback closed loop H/(1+H)</translation>
    </message>
    <message>
        <source>mesures exactes des courbes tracées en JSON : chaque croisement de 0 dB et de -180° avec sa marge, pic et bande passante à -3 dB en boucle fermée, classe, gain statique</source>
        <translation>exact measures of the drawn curves in JSON: each crossing of 0 dB and of -180° with its margin, closed-loop peak and -3 dB bandwidth, class, static gain</translation>
    </message>
    <message>
        <source>NOM</source>
        <translation>NAME</translation>
    </message>
    <message>
        <source>règle le paramètre (K, T, A, B, W ou Ksi) pour un pic de 2,3 dB en boucle fermée du produit des fonctions cochées, avant le tracé ; écrit NOM=valeur sur la sortie standard</source>
        <translation>tunes the parameter (K, T, A, B, W or Ksi) for a closed-loop peak of 2.3 dB of the product of the ticked functions, before drawing; writes NAME=value to standard output</translation>
    </message>
    <message>
        <source>--tune : paramètre inconnu « %1 » (K, T, A, B, W ou Ksi)</source>
        <translation>--tune: unknown parameter “%1” (K, T, A, B, W or Ksi)</translation>
    </message>
    <message>
        <source>ce texte</source>
        <translation>this text</translation>
    </message>
    <message>
        <source>LANGUE</source>
        <translation>LANGUAGE</translation>
    </message>
    <message>
        <source>langue des textes : fr ou en ; par défaut d&apos;après LANGUAGE, LC_ALL, LC_MESSAGES ou LANG (en : anglais, autrement français) ; vaut aussi pour la fenêtre</source>
        <translation>language of the texts: fr or en; by default from LANGUAGE, LC_ALL, LC_MESSAGES or LANG (en: English, otherwise French); also for the window</translation>
    </message>
    <message>
        <source>--lang : fr ou en attendu, pas « %1 »</source>
        <translation>--lang: fr or en expected, not “%1”</translation>
    </message>
    <message>
        <source>écrit « tracevue VERSION » et s&apos;arrête</source>
        <translation>writes “tracevue VERSION” and stops</translation>
    </message>
    <message>
        <source>fichier de transfert, chargé comme au démarrage</source>
        <translation>transfer file, loaded as at start</translation>
    </message>
    <message>
        <source>--export SORTIE [FICHIER]</source>
        <translation>--export OUTPUT [FILE]</translation>
    </message>
    <message>
        <source>Usage : tracevue [FICHIER.WWC]            ouvre la fenêtre
        tracevue [options] --export SORTIE [FICHIER]</source>
        <translation>Usage: tracevue [FILE.WWC]               opens the window
       tracevue [options] --export OUTPUT [FILE]</translation>
    </message>
    <message>
        <source>trace H1 = K/(p(1+T.p)) et ses marges dans boucle.png</source>
        <translation>draws H1 = K/(p(1+T.p)) and its margins into boucle.png</translation>
    </message>
    <message>
        <source>trace le diagramme de Black d&apos;un exemple, marges comprises</source>
        <translation>draws the Black chart of an example, margins included</translation>
    </message>
    <message>
        <source>succès</source>
        <translation>success</translation>
    </message>
    <message>
        <source>option ou valeur incorrecte (rien n&apos;est écrit)</source>
        <translation>bad option or value (nothing is written)</translation>
    </message>
    <message>
        <source>fonction cochée invalide (rien n&apos;est écrit)</source>
        <translation>invalid ticked function (nothing is written)</translation>
    </message>
    <message>
        <source>fichier illisible ou impossible à écrire</source>
        <translation>file unreadable or impossible to write</translation>
    </message>
    <message>
        <source>aucune valeur du paramètre de --tune ne donne 2,3 dB (rien n&apos;est écrit)</source>
        <translation>no value of the parameter of --tune gives 2.3 dB (nothing is written)</translation>
    </message>
    <message>
        <source>Options :</source>
        <translation>Options:</translation>
    </message>
    <message>
        <source>Arguments :</source>
        <translation>Arguments:</translation>
    </message>
    <message>
        <source>l&apos;option %1 attend une valeur</source>
        <translation>option %1 expects a value</translation>
    </message>
    <message>
        <source>l&apos;option %1 ne prend pas de valeur</source>
        <translation>option %1 takes no value</translation>
    </message>
    <message>
        <source>
Sans fenêtre ni affichage, trace le diagramme et écrit les fichiers demandés.</source>
        <translation>
Without a window or a display, draws the diagram and writes the files asked for.</translation>
    </message>
    <message>
        <source>option inconnue : %1%2</source>
        <translation>unknown option: %1%2</translation>
    </message>
    <message>
        <source>un seul fichier de transfert est accepté : « %1 » en trop</source>
        <translation>only one transfer file is accepted: “%1” is one too many</translation>
    </message>
    <message>
        <source>rien à faire : --export, --capture, --save, --worksheet ou --step attendu</source>
        <translation>nothing to do: --export, --capture, --save, --worksheet or --step expected</translation>
    </message>
    <message>
        <source>
Exemples :
</source>
        <translation>
Examples:
</translation>
    </message>
    <message>
        <source>
Codes de sortie :
</source>
        <translation>
Exit codes:
</translation>
    </message>
    <message>
        <source>impossible de lire le fichier de points « %1 »</source>
        <translation>cannot read the points file “%1”</translation>
    </message>
    <message>
        <source>fichier de points trop grand « %1 »</source>
        <translation>points file too large “%1”</translation>
    </message>
    <message>
        <source>impossible d&apos;écrire « %1 »</source>
        <translation>cannot write “%1”</translation>
    </message>
    <message>
        <source>--step : extension .png, .svg ou .csv attendue pour « %1 »</source>
        <translation>--step: extension .png, .svg or .csv expected for “%1”</translation>
    </message>
    <message>
        <source>--worksheet : aucune fonction cochée</source>
        <translation>--worksheet: no function ticked</translation>
    </message>
    <message>
        <source>--%1%2 : le texte fait %3 caractères sans les espaces, %4 au plus</source>
        <translation>--%1%2: the text is %3 characters long without blanks, %4 at most</translation>
    </message>
    <message>
        <source>numérateur de H1, développé en puissances croissantes de p (espaces retirés, 80 caractères au plus) ; coche la fonction</source>
        <translation>numerator of H1, expanded in increasing powers of p (blanks removed, 80 characters at most); ticks the function</translation>
    </message>
    <message>
        <source>--export : extension .png, .bmp, .emf, .svg, .pdf ou .csv attendue pour « %1 »</source>
        <translation>--export: extension .png, .bmp, .emf, .svg, .pdf or .csv expected for “%1”</translation>
    </message>
    <message>
        <source>abaque de Black-Nichols (vue de Black) : contours de gain (-12 à 12 dB) et de phase (-5 à -150°) de la boucle fermée, en pointillés clairs</source>
        <translation>Black-Nichols chart (Black view): closed-loop gain (-12 to 12 dB) and phase (-5 to -150°) contours, in light dots</translation>
    </message>
    <message>
        <source>image .png ou .bmp (comme à l&apos;écran), .svg (vectorielle, en couleurs), .emf (métafichier, en noir, comme « Sauver l&apos;image »), .pdf (la page imprimée par « Imprimer », A4 portrait, en noir) ou .csv (les courbes tracées : w puis gain en dB et phase en degrés de chacune, une ligne par pulsation du tracé)</source>
        <translation>picture .png or .bmp (as on screen), .svg (vector, in colour), .emf (metafile, in black, as “Save the picture”), .pdf (the page printed by “Print”, A4 portrait, in black) or .csv (the drawn curves: w then gain in dB and phase in degrees of each, one line per pulsation of the plot)</translation>
    </message>
    <message>
        <source>ENTREE</source>
        <translation>INPUT</translation>
    </message>
    <message>
        <source>avec --step : step, ramp ou impulse, réponse à un échelon (défaut), à une rampe (avec l&apos;erreur de traînage) ou à une impulsion (avec son pic)</source>
        <translation>with --step: step, ramp or impulse, response to a step (default), to a ramp (with the velocity error) or to an impulse (with its peak)</translation>
    </message>
    <message>
        <source>--input : step, ramp ou impulse attendu, pas « %1 »</source>
        <translation>--input: step, ramp or impulse expected, not “%1”</translation>
    </message>
    <message>
        <source>lieu de Nyquist des fonctions cochées : image .png ou .svg (640x560, comme la fenêtre « Lieu de Nyquist », marges avec --margins) ou échantillons .csv (w,re,im) du produit pour w &gt; 0 ; le verdict (P, N, Z, stabilité) est écrit sur la sortie standard</source>
        <translation>Nyquist plot of the ticked functions: picture .png or .svg (640x560, as the “Nyquist plot” window, margins with --margins) or samples .csv (w,re,im) of the product for w &gt; 0; the verdict (P, N, Z, stability) is written to standard output</translation>
    </message>
    <message>
        <source>avec --nyquist : -2 ... +1 sur les deux axes (« Zoom sur -1 »)</source>
        <translation>with --nyquist: -2 ... +1 on both axes (“Zoom on -1”)</translation>
    </message>
    <message>
        <source>lieu des pôles en boucle fermée du produit des fonctions cochées, sur le paramètre de --locus-param : image .png ou .svg (640x520, comme la fenêtre « Lieu des pôles ») ou échantillons .csv (value,re,im) ; pôles et stabilité écrits sur la sortie standard</source>
        <translation>closed-loop pole locus of the product of the ticked functions, over the parameter of --locus-param: picture .png or .svg (640x520, as the “Pole locus” window) or samples .csv (value,re,im); poles and stability written to standard output</translation>
    </message>
    <message>
        <source>avec --locus ou --report : paramètre parcouru (K, T, A, B, W ou Ksi ; défaut K)</source>
        <translation>with --locus or --report: parameter swept (K, T, A, B, W or Ksi; default K)</translation>
    </message>
    <message>
        <source>--locus-param : paramètre inconnu « %1 » (K, T, A, B, W ou Ksi)</source>
        <translation>--locus-param: unknown parameter “%1” (K, T, A, B, W or Ksi)</translation>
    </message>
    <message>
        <source>avec --locus ou --report : valeurs parcourues, 0 &lt;= MIN &lt; MAX (défaut : de 0 à 100 fois la valeur du paramètre)</source>
        <translation>with --locus or --report: values swept, 0 &lt;= MIN &lt; MAX (default: from 0 to 100 times the parameter&apos;s value)</translation>
    </message>
    <message>
        <source>--locus-range : MIN:MAX attendu avec 0 &lt;= MIN &lt; MAX, pas « %1 »</source>
        <translation>--locus-range: MIN:MAX expected with 0 &lt;= MIN &lt; MAX, not “%1”</translation>
    </message>
    <message>
        <source>--tune : aucune valeur de %1 entre 0 et %2 ne donne un pic de 2,3 dB avec une boucle fermée stable
</source>
        <translation>--tune: no value of %1 between 0 and %2 gives a peak of 2.3 dB with a stable closed loop
</translation>
    </message>
    <message>
        <source>ce programme n&apos;écrit ni SVG, ni EMF, ni PDF
</source>
        <translation>this program writes no SVG, EMF or PDF
</translation>
    </message>
</context>
<context>
    <name>tv::app::ManPage</name>
    <message>
        <source>Commandes</source>
        <translation>User Commands</translation>
    </message>
    <message>
        <source>NOM</source>
        <translation>NAME</translation>
    </message>
    <message>
        <source>diagrammes de Bode et de Black de fonctions de transfert</source>
        <translation>Bode and Black diagrams of transfer functions</translation>
    </message>
    <message>
        <source>SYNOPSIS</source>
        <translation>SYNOPSIS</translation>
    </message>
    <message>
        <source>DESCRIPTION</source>
        <translation>DESCRIPTION</translation>
    </message>
    <message>
        <source>Tracevue trace le diagramme de Bode et le diagramme de Black de trois fonctions de transfert H1, H2, H3 au plus et de leur produit, et les retrace à chaque pas d&apos;un paramètre K, T, A, B, W ou Ksi. Sans option, il ouvre sa fenêtre, avec le fichier de transfert (.WWC) donné s&apos;il y en a un.</source>
        <translation>Tracevue draws the Bode diagram and the Black chart of up to three transfer functions H1, H2, H3 and of their product, and draws them again at every step of a parameter K, T, A, B, W or Ksi. Without options it opens its window, with the transfer file (.WWC) given, if any.</translation>
    </message>
    <message>
        <source>Avec des options, il ne montre aucune fenêtre et n&apos;a besoin d&apos;aucun affichage : il trace le diagramme et écrit les fichiers demandés.</source>
        <translation>With options it shows no window and needs no display: it draws the diagram and writes the files asked for.</translation>
    </message>
    <message>
        <source>OPTIONS</source>
        <translation>OPTIONS</translation>
    </message>
    <message>
        <source>CODES DE SORTIE</source>
        <translation>EXIT STATUS</translation>
    </message>
    <message>
        <source>ENVIRONNEMENT</source>
        <translation>ENVIRONMENT</translation>
    </message>
    <message>
        <source>la langue : la première de ces variables qui est définie la choisit ; anglais si elle commence par en, français sinon. L&apos;option --lang l&apos;emporte.</source>
        <translation>the language: the first of these variables that is set chooses it; English if it begins with en, French otherwise. The option --lang prevails.</translation>
    </message>
    <message>
        <source>l&apos;affichage de la fenêtre ; sans l&apos;un ni l&apos;autre, seules les options sont acceptées.</source>
        <translation>the display of the window; without either, only the options are accepted.</translation>
    </message>
    <message>
        <source>FICHIERS</source>
        <translation>FILES</translation>
    </message>
    <message>
        <source>fichier de transfert : les trois fonctions, les bornes du tracé et les paramètres.</source>
        <translation>transfer file: the three functions, the bounds of the plot and the parameters.</translation>
    </message>
    <message>
        <source>les exemples : premier et second ordre, intégrateur, correcteur à avance de phase, troisième ordre, points mesurés.</source>
        <translation>the examples: first and second order, integrator, lead compensator, third order, measured points.</translation>
    </message>
    <message>
        <source>EXEMPLES</source>
        <translation>EXAMPLES</translation>
    </message>
    <message>
        <source>VOIR AUSSI</source>
        <translation>SEE ALSO</translation>
    </message>
</context>
<context>
    <name>tv::ui::CursorValues</name>
    <message>
        <source>non défini</source>
        <translation>undefined</translation>
    </message>
    <message>
        <source>%1 : w= %2 rad/s, %3</source>
        <translation>%1: w= %2 rad/s, %3</translation>
    </message>
    <message>
        <source>non représentable</source>
        <translation>not representable</translation>
    </message>
</context>
<context>
    <name>tv::ui::FollowingWindow</name>
    <message>
        <source>Fichier</source>
        <translation>File</translation>
    </message>
    <message>
        <source>Presse-papier (Bitmap)</source>
        <translation>Clipboard (Bitmap)</translation>
    </message>
    <message>
        <source>Imprimer</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>Sauver l&apos;image (.PNG)</source>
        <translation>Save the picture (.PNG)</translation>
    </message>
    <message>
        <source>Sauver l&apos;image (.SVG)</source>
        <translation>Save the picture (.SVG)</translation>
    </message>
    <message>
        <source>Impossible d&apos;enregistrer le fichier « %1 » : %2</source>
        <translation>Cannot save the file “%1”: %2</translation>
    </message>
</context>
<context>
    <name>tv::ui::LocusWindow</name>
    <message>
        <source>Lieu des pôles en boucle fermée</source>
        <translation>Closed-loop pole locus</translation>
    </message>
    <message>
        <source>de</source>
        <translation>from</translation>
    </message>
    <message>
        <source>à</source>
        <translation>to</translation>
    </message>
    <message>
        <source>Image (*%1)|*%1</source>
        <translation>Picture (*%1)|*%1</translation>
    </message>
</context>
<context>
    <name>tv::ui::MeasuresWindow</name>
    <message>
        <source>Mesures</source>
        <translation>Measures</translation>
    </message>
    <message>
        <source>Une fonction cochée est invalide : rien n&apos;est tracé.</source>
        <translation>A ticked function is invalid: nothing is drawn.</translation>
    </message>
    <message>
        <source>Asymptotes</source>
        <translation>Asymptotes</translation>
    </message>
    <message>
        <source>Aucune courbe tracée.</source>
        <translation>No curve drawn.</translation>
    </message>
    <message>
        <source>sur le tracé (échantillonné) : aucune</source>
        <translation>on the plot (sampled): none</translation>
    </message>
    <message>
        <source>sur le tracé (échantillonné) : </source>
        <translation>on the plot (sampled): </translation>
    </message>
    <message>
        <source>Fonction nulle</source>
        <translation>Zero function</translation>
    </message>
    <message>
        <source>aucune mesure</source>
        <translation>no measure</translation>
    </message>
    <message>
        <source>Marges de phase (gain de 0 dB)</source>
        <translation>Phase margins (gain of 0 dB)</translation>
    </message>
    <message>
        <source>w= %1 rad/s : MP= %2°</source>
        <translation>w= %1 rad/s: PM= %2°</translation>
    </message>
    <message>
        <source>le gain ne passe pas par 0 dB</source>
        <translation>the gain does not cross 0 dB</translation>
    </message>
    <message>
        <source>Marges de gain (phase de -180°)</source>
        <translation>Gain margins (phase of -180°)</translation>
    </message>
    <message>
        <source>w= %1 rad/s : MG= %2 dB</source>
        <translation>w= %1 rad/s: GM= %2 dB</translation>
    </message>
    <message>
        <source>la phase ne passe pas par -180°</source>
        <translation>the phase does not cross -180°</translation>
    </message>
    <message>
        <source>Boucle fermée H/(1+H)</source>
        <translation>Closed loop H/(1+H)</translation>
    </message>
    <message>
        <source>pic : %1 dB en w= %2 rad/s</source>
        <translation>peak: %1 dB at w= %2 rad/s</translation>
    </message>
    <message>
        <source>pic : non calculable</source>
        <translation>peak: cannot be computed</translation>
    </message>
    <message>
        <source>bande passante à -3 dB : %1 rad/s</source>
        <translation>-3 dB bandwidth: %1 rad/s</translation>
    </message>
    <message>
        <source>bande passante à -3 dB : non atteinte</source>
        <translation>-3 dB bandwidth: not reached</translation>
    </message>
    <message>
        <source>Régime permanent</source>
        <translation>Steady state</translation>
    </message>
    <message>
        <source>classe 0, gain statique %1 (%2 dB)</source>
        <translation>class 0, static gain %1 (%2 dB)</translation>
    </message>
    <message>
        <source>intégrateur</source>
        <translation>integrator</translation>
    </message>
    <message>
        <source>dérivateur</source>
        <translation>differentiator</translation>
    </message>
    <message>
        <source>classe %1 (%2 %3%4), gain K= %5</source>
        <translation>class %1 (%2 %3%4), gain K= %5</translation>
    </message>
    <message>
        <source>erreur statique pour un échelon : %1</source>
        <translation>steady-state error for a step: %1</translation>
    </message>
    <message>
        <source>erreur statique pour un échelon : infinie</source>
        <translation>steady-state error for a step: infinite</translation>
    </message>
    <message>
        <source>non représentable</source>
        <translation>not representable</translation>
    </message>
    <message>
        <source>Copier</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>Copie toutes les mesures dans le presse-papier, en texte</source>
        <translation>Copies all the measures to the clipboard, as text</translation>
    </message>
    <message>
        <source>phase constante à -180°</source>
        <translation>phase constant at -180°</translation>
    </message>
    <message>
        <source>résonance infinie en w= %1 rad/s (pôles sur l&apos;axe imaginaire)</source>
        <translation>infinite resonance at w= %1 rad/s (poles on the imaginary axis)</translation>
    </message>
    <message>
        <source>pas de résonance (limite en haute fréquence : %1 dB)</source>
        <translation>no resonance (high-frequency limit: %1 dB)</translation>
    </message>
    <message>
        <source>pas de résonance (le gain tend vers 0 en haute fréquence)</source>
        <translation>no resonance (the gain tends to 0 at high frequency)</translation>
    </message>
</context>
<context>
    <name>tv::ui::NyquistWindow</name>
    <message>
        <source>Lieu de Nyquist</source>
        <translation>Nyquist plot</translation>
    </message>
    <message>
        <source>Zoom sur -1</source>
        <translation>Zoom on -1</translation>
    </message>
    <message>
        <source>%1 : w= %2 rad/s, Re= %3, Im= %4, %5 dB, %6°</source>
        <translation>%1: w= %2 rad/s, Re= %3, Im= %4, %5 dB, %6°</translation>
    </message>
    <message>
        <source>Image (*%1)|*%1</source>
        <translation>Picture (*%1)|*%1</translation>
    </message>
</context>
<context>
    <name>tv::ui::ParameterControls</name>
    <message>
        <source>Variation de</source>
        <translation>Stepping</translation>
    </message>
    <message>
        <source>Entrez la nouvelle valeur de </source>
        <translation>Enter the new value of </translation>
    </message>
</context>
<context>
    <name>tv::ui::PictureOutput</name>
    <message>
        <source>Impossible d&apos;enregistrer le fichier « %1 »</source>
        <translation>Cannot save the file “%1”</translation>
    </message>
    <message>
        <source>Noircir les traits ?</source>
        <translation>Darken the lines?</translation>
    </message>
    <message>
        <source>Impossible de lancer l&apos;impression.</source>
        <translation>Cannot start printing.</translation>
    </message>
    <message>
        <source>L&apos;impression n&apos;a pas pu aboutir.</source>
        <translation>Printing could not be completed.</translation>
    </message>
    <message>
        <source>Métafichiers évolués (*.emf)|*.emf</source>
        <translation>Enhanced metafiles (*.emf)|*.emf</translation>
    </message>
    <message>
        <source>l&apos;image n&apos;a pas pu être codée en BMP</source>
        <translation>the picture could not be encoded as BMP</translation>
    </message>
    <message>
        <source>L&apos;image a été enregistrée dans « %1 », mais aucun programme de dessin n&apos;a pu l&apos;ouvrir. Installez-en un, par exemple KolourPaint, Pinta ou GIMP, ou ouvrez ce fichier vous-même.</source>
        <translation>The picture was saved in “%1”, but no paint program could open it. Install one, for example KolourPaint, Pinta or GIMP, or open this file yourself.</translation>
    </message>
</context>
<context>
    <name>tv::ui::QtDialogs</name>
    <message>
        <source>Oui</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>Non</source>
        <translation>No</translation>
    </message>
    <message>
        <source>Annuler</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Ouvrir</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>Enregistrer sous</source>
        <translation>Save as</translation>
    </message>
</context>
<context>
    <name>tv::ui::ReadoutView</name>
    <message>
        <source>&amp;Copier</source>
        <translation>&amp;Copy</translation>
    </message>
    <message>
        <source>Tout sélectionner</source>
        <translation>Select All</translation>
    </message>
</context>
<context>
    <name>tv::ui::StepWindow</name>
    <message>
        <source>Réponse temporelle</source>
        <translation>Time response</translation>
    </message>
    <message>
        <source>Boucle fermée (retour unitaire)</source>
        <translation>Closed loop (unity feedback)</translation>
    </message>
    <message>
        <source>Image (*%1)|*%1</source>
        <translation>Picture (*%1)|*%1</translation>
    </message>
    <message>
        <source>Durée invalide : un nombre positif de secondes, ou vide pour une durée automatique</source>
        <translation>Invalid duration: a positive number of seconds, or empty for an automatic duration</translation>
    </message>
    <message>
        <source>Enregistrer les échantillons (CSV)...</source>
        <translation>Save the samples (CSV)...</translation>
    </message>
    <message>
        <source>Entrée :</source>
        <translation>Input:</translation>
    </message>
    <message>
        <source>échelon</source>
        <translation>step</translation>
    </message>
    <message>
        <source>rampe</source>
        <translation>ramp</translation>
    </message>
    <message>
        <source>impulsion</source>
        <translation>impulse</translation>
    </message>
    <message>
        <source>Échantillons (*%1)|*%1</source>
        <translation>Samples (*%1)|*%1</translation>
    </message>
</context>
<context>
    <name>tv::ui::TAboutBox</name>
    <message>
        <source>A propos</source>
        <translation>About</translation>
    </message>
    <message>
        <source>Diagrammes de Bode et de Black</source>
        <translation>Bode and Black diagrams</translation>
    </message>
    <message>
        <source>Développeurs de Tracevue, 2026</source>
        <translation>Tracevue developers, 2026</translation>
    </message>
</context>
<context>
    <name>tv::ui::TForm1</name>
    <message>
        <source>Fichier</source>
        <translation>File</translation>
    </message>
    <message>
        <source>Nouveau</source>
        <translation>New</translation>
    </message>
    <message>
        <source>Ouvrir</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>Enregistrer</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Presse-papier (Bitmap)</source>
        <translation>Clipboard (Bitmap)</translation>
    </message>
    <message>
        <source>Imprimer</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>Sauver l&apos;image (.EMF)</source>
        <translation>Save the picture (.EMF)</translation>
    </message>
    <message>
        <source>Modifier l&apos;image avec Mspaint (.Bmp)</source>
        <translation>Edit the picture with Mspaint (.Bmp)</translation>
    </message>
    <message>
        <source>Réponse temporelle : ouverture directe de Maple</source>
        <translation>Time response: open Maple directly</translation>
    </message>
    <message>
        <source>Réponse temporelle : création d&apos;un fichier Maple</source>
        <translation>Time response: write a Maple file</translation>
    </message>
    <message>
        <source>Réponse temporelle : tracé</source>
        <translation>Time response: plot</translation>
    </message>
    <message>
        <source>Ouvrir éditeur de points</source>
        <translation>Open points editor</translation>
    </message>
    <message>
        <source>Quitter</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>Définir</source>
        <translation>Define</translation>
    </message>
    <message>
        <source>Gain K</source>
        <translation>Gain K</translation>
    </message>
    <message>
        <source>Analyse</source>
        <translation>Analysis</translation>
    </message>
    <message>
        <source>Mesures...</source>
        <translation>Measures...</translation>
    </message>
    <message>
        <source>Régler sur 2,3 dB</source>
        <translation>Tune to 2.3 dB</translation>
    </message>
    <message>
        <source>Asymptotes</source>
        <translation>Asymptotes</translation>
    </message>
    <message>
        <source>A propos</source>
        <translation>About</translation>
    </message>
    <message>
        <source>Marges</source>
        <translation>Margins</translation>
    </message>
    <message>
        <source>Gain seul</source>
        <translation>Gain only</translation>
    </message>
    <message>
        <source>Phase seule</source>
        <translation>Phase only</translation>
    </message>
    <message>
        <source>Gain+Phase</source>
        <translation>Gain+Phase</translation>
    </message>
    <message>
        <source>Cochez la fonction à tracer</source>
        <translation>Tick the function to draw</translation>
    </message>
    <message>
        <source>Choisissez d&apos;abord le paramètre à régler.</source>
        <translation>First choose the parameter to tune.</translation>
    </message>
    <message>
        <source>Recherche des marges désactivée</source>
        <translation>Margin search switched off</translation>
    </message>
    <message>
        <source>H%1 : dénominateur invalide</source>
        <translation>H%1: invalid denominator</translation>
    </message>
    <message>
        <source>H%1 : numérateur invalide</source>
        <translation>H%1: invalid numerator</translation>
    </message>
    <message>
        <source>Enregistrer les modifications ?</source>
        <translation>Save the changes?</translation>
    </message>
    <message>
        <source>Exporter les courbes (CSV)...</source>
        <translation>Export the curves (CSV)...</translation>
    </message>
    <message>
        <source>Abaque de Black-Nichols</source>
        <translation>Black-Nichols chart</translation>
    </message>
    <message>
        <source>Lieu de Nyquist</source>
        <translation>Nyquist plot</translation>
    </message>
    <message>
        <source>Lieu des pôles</source>
        <translation>Pole locus</translation>
    </message>
    <message>
        <source>Une fonction cochée est invalide : rien n&apos;est exporté</source>
        <translation>A ticked function is invalid: nothing is exported</translation>
    </message>
    <message>
        <source>Courbes (*.csv)|*.csv</source>
        <translation>Curves (*.csv)|*.csv</translation>
    </message>
    <message>
        <source>Impossible d&apos;enregistrer le fichier « %1 » : %2</source>
        <translation>Cannot save the file “%1”: %2</translation>
    </message>
    <message>
        <source>Aucune valeur de %1 entre 0 et %2 ne donne un pic de 2,3 dB avec une boucle fermée stable.</source>
        <translation>No value of %1 between 0 and %2 gives a peak of 2.3 dB with a stable closed loop.</translation>
    </message>
</context>
<context>
    <name>tv::ui::TForm2</name>
    <message>
        <source>Editeur de points</source>
        <translation>Points editor</translation>
    </message>
    <message>
        <source>Lire...</source>
        <translation>Read...</translation>
    </message>
    <message>
        <source>Sauver... </source>
        <translation>Save... </translation>
    </message>
    <message>
        <source>Effacer</source>
        <translation>Erase</translation>
    </message>
    <message>
        <source>Courbe  --&gt; Editeur</source>
        <translation>Curve  --&gt; Editor</translation>
    </message>
    <message>
        <source>Afficher les points</source>
        <translation>Show the points</translation>
    </message>
    <message>
        <source>Hz</source>
        <translation>Hz</translation>
    </message>
    <message>
        <source>Gain en dB</source>
        <translation>Gain in dB</translation>
    </message>
    <message>
        <source> Fréquence/pulsation           Gain          Phase</source>
        <translation> Frequency/pulsation           Gain          Phase</translation>
    </message>
    <message>
        <source>La ligne %1 contient un caractère qui ne peut pas être écrit dans un fichier texte.</source>
        <translation>Line %1 contains a character that cannot be written in a text file.</translation>
    </message>
    <message>
        <source>Effacer les points ?</source>
        <translation>Erase the points?</translation>
    </message>
    <message>
        <source>Placer des points de la courbe courante dans l&apos;éditeur ?</source>
        <translation>Put points of the current curve into the editor?</translation>
    </message>
    <message>
        <source>ATTENTION : les points contenus dans l&apos;éditeur seront </source>
        <translation>WARNING: the points in the editor will be </translation>
    </message>
    <message>
        <source>effacés.</source>
        <translation>erased.</translation>
    </message>
</context>
<context>
    <name>tv::ui::TForm3</name>
    <message>
        <source>Entrez une fonction de transfert...</source>
        <translation>Enter a transfer function...</translation>
    </message>
    <message>
        <source>Entrez des fonctions du type:1+0.02*p+0.3*p^2+...  (développées dans l&apos;ordre croissant)</source>
        <translation>Enter functions such as:1+0.02*p+0.3*p^2+...  (expanded in increasing powers)</translation>
    </message>
    <message>
        <source>Seules les variables K, T, A, B, W et Ksi  sont autorisées </source>
        <translation>Only the variables K, T, A, B, W and Ksi  are allowed </translation>
    </message>
    <message>
        <source>Valider</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>La fonction doit être développée</source>
        <translation>The function must be expanded</translation>
    </message>
    <message>
        <source>Texte de plus de 80 caractères : il a été coupé, vérifiez sa fin.</source>
        <translation>Text longer than 80 characters: it was cut, check its end.</translation>
    </message>
</context>
<context>
    <name>tv::ui::TransferRefusal</name>
    <message>
        <source>Le fichier « %1 » n&apos;a pas été ouvert.</source>
        <translation>The file “%1” was not opened.</translation>
    </message>
</context>
<context>
    <name>tv::ui::WorksheetCommands</name>
    <message>
        <source>La feuille de calcul a été écrite dans « %1 », mais aucune application n&apos;a pu l&apos;ouvrir. Installez Maple, qui ouvre les fichiers .mws, ou ouvrez-la vous-même avec Maple.</source>
        <translation>The worksheet was written in “%1”, but no application could open it. Install Maple, which opens .mws files, or open it yourself with Maple.</translation>
    </message>
    <message>
        <source>Fichier Maple|*.mws</source>
        <translation>Maple file|*.mws</translation>
    </message>
    <message>
        <source>Impossible d&apos;enregistrer le fichier « %1 »</source>
        <translation>Cannot save the file “%1”</translation>
    </message>
</context>
</TS>
