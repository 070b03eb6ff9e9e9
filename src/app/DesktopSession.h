#pragma once
// What the two desktop programs, ventrolux and ventrolux-help, do around the making of their
// application object. Without a graphical session they say so in one line of the user's
// language and end with exit code 1, where Qt would abort; with one, they name themselves to
// the desktop: the program's icon on every window, and the desktop entry task bars match.

#include "text/Language.h"

namespace desktop {

// The language of the user's locale: French when the first of LC_ALL, LC_MESSAGES and LANG
// that is set, as the C library chooses the language of messages, starts with "fr".
Language localeLanguage();

// Before the application object is made: Qt's failure to open the window system, which it
// reports as a fatal error, prints the text of the keyed table under noSessionKey (one line,
// in the locale's language) instead and ends the program with exit code 1. Qt's own messages
// of that moment are held back, so the line is the only one.
void watchSessionStart(const char* noSessionKey);

// Once the application object exists: the watch ends (the messages held back are passed on),
// and the program takes its icon and the name of its desktop entry (without ".desktop").
void sessionStarted(const char* desktopEntry);

} // namespace desktop
