# The same batch figure in Python with matplotlib, for comparison only: the Bode diagram of K/(1+p)^3 at K = 4 with its margins, to PNG.
import sys

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt
import numpy as np

w = np.logspace(-2, 2, 1074)
h = 4.0 / (1 + 1j * w) ** 3
gain = 20 * np.log10(np.abs(h))
phase = np.degrees(np.unwrap(np.angle(h)))
fig, (a, b) = plt.subplots(2, 1, sharex=True, figsize=(11.34, 6.78), dpi=100)
a.semilogx(w, gain)
a.grid(True, which="both", linestyle=":")
b.semilogx(w, phase)
b.grid(True, which="both", linestyle=":")
wc = w[np.argmin(np.abs(gain))]
w180 = w[np.argmin(np.abs(phase + 180))]
a.set_title("MP = %.1f deg at %.3g rad/s, MG = %.1f dB at %.3g rad/s"
            % (180 + np.interp(wc, w, phase), wc, -np.interp(w180, w, gain), w180))
fig.savefig(sys.argv[1])
