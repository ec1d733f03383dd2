% The same batch figure in Octave with the control package, for comparison only: the Bode diagram of K/(1+p)^3 at K = 4 with its margins, to PNG.
pkg load control
args = argv();
h = tf(4, [1 3 3 1]);
figure("visible", "off", "position", [0 0 1134 678]);
margin(h);
print(args{1}, "-dpng");
