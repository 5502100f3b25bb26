// --stats: what the sources of the user's pictures say of themselves (frames shown, dropped,
// received...), on standard error once a second and once more at exit.
#pragma once

// Prints every source's statistics lines, the chosen picture's as shown.
void printSourceStats();

// Prints them once a second from a GLUT timer from now on, and at exit.
void startSourceStatsReports();
