// Start-up: the start sequence of the program and the factories of frames and elements.
#pragma once

#include <QString>
#include <functional>

#include "core/programmzustand.h"

// Start sequence up to (not including) showing the main window: constants, screen values,
// start-up folder, working copies, the start document, the settings file.
// startverzeichnis: the folder the program was started in (empty: the current folder).
void Main(Programmzustand& s, const QString& startverzeichnis = QString());

// The whole start of the program under the busy pointer: Main, then hauptfensterZeigen
// (which creates and shows the main window). The pointer comes back when the event loop
// has done the work the window left for it, when the start fails (an exception), and as
// soon as a dialog or message box opens, so that no question is answered under it.
void Programmstart(Programmzustand& s, const std::function<void()>& hauptfensterZeigen,
                   const QString& startverzeichnis = QString());

// Frame Nr of kind Typ holding element Nummer; grows the frame list by one slot when Nr is
// just past its end, and adds 1 to AnzahlRahmen.
void NeuerRahmen(Programmzustand& s, int Nr, const QString& Typ, double Nummer);
// Element Nr of its list with the defaults of a new element. The list must hold slot Nr.
void NeueSchrift(Programmzustand& s, int Nr);
void NeuesBild(Programmzustand& s, int Nr);
void NeueLinie(Programmzustand& s, int Nr);
