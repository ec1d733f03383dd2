% The same batch figure in Octave with its control package and gnuplot, for comparison only: the Bode diagram of K/(1+p)^3 at K = 4 with its margins, to the PNG file named by the argument.
args = argv();
graphics_toolkit("gnuplot");
pkg load control;
H = tf(4, [1 3 3 1]);
f = figure("visible", "off");
margin(H);
print(f, args{1}, "-dpng");
