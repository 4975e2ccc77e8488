#ifndef INTERRUPTION_H
#define INTERRUPTION_H

class QCoreApplication;

// Ctrl+C (and a termination request) ends the application's event loop, so that a watch can finish
// the regeneration in progress and exit cleanly instead of being killed mid-compile.
void quitOnInterrupt(QCoreApplication &application);

#endif // INTERRUPTION_H
