// The scripted session of provix2: the main job shown without a person at the
// keyboard. It drives the real form through real Qt key and mouse events (on Qt's
// offscreen platform when there is no display), prints each step and what the form
// answers, saves a screenshot of the form after each step, and prints the database's
// rows at the end.
#pragma once

#include <ostream>
#include <string>

#include "frame/qt/qt_backend.h"
#include "sample/provix2/form1.h"

namespace provix2 {

// Until a session takes over, message boxes are printed to `out` and answered OK at
// once: without a person at the keyboard, a problem met while the form opens (the
// library's registration, the form's description, the database) must be told, not
// left waiting on a dialog that nobody can see.
void PrintMessageBoxes(std::ostream& out);

// Runs the session on a shown form; returns the exit status (0 when every step did
// what it should). Screenshots go to `screens` ("" for none).
int RunScriptedSession(ze::qt::QtBackend& backend, Form1& form, const std::string& screens,
                       std::ostream& out);

}  // namespace provix2
