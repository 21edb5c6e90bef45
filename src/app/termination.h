#pragma once

// Ends the application's event loop when the system asks the program to end (SIGTERM,
// SIGINT, SIGHUP). The database engine installs handlers of its own for these that do not
// end the process, so this runs after the engine is loaded.
void EndOnTerminationSignal();

// True once such a request arrived (the start-up wait checks it).
bool TerminationRequested();
