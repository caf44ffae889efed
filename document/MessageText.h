// The lines of the editor's messages made fit for a message box. A message
// box widens itself to its longest word, so a long path would push its
// title, icon and buttons off the screen: such a word is shortened in its
// middle for display (a path keeps its drive, its first folder and its file
// name). The log keeps the whole line. No Windows API.
#ifndef MAPEDITOR_MESSAGETEXT_H
#define MAPEDITOR_MESSAGETEXT_H

#include <stddef.h>

#include <string>

// The longest word a message shows whole: some 500 pixels of an 8-point
// font, well inside the narrowest screen the editor runs on.
const size_t kLongestShownWord = 80;

// The text with every word (a run without blanks or line ends) longer than
// kLongestShownWord shortened: a path to "C:\Users\...\area1.ini", keeping
// what sticks to it ("(", "):", ...), and whatever is still too long (a
// long file name, a word that is no path) to its beginning and end around
// "...". Shorter words, blanks and line ends stay as they are.
std::string ShortenLongWords(const std::string& text);

#endif
