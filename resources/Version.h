// The editor's name and version, in one place: read by the resource script
// (version resource), by the About dialog and by the build (the release
// zip's name). Plain #defines so that windres and CMake read it too.
#ifndef MAPEDITOR_VERSION_H
#define MAPEDITOR_VERSION_H

#define MAPEDITOR_PRODUCT_NAME "Map Editor"

// The version as users know it: in the About dialog and the release zip's
// name (the main window's caption in the resource script says it too).
#define MAPEDITOR_VERSION_TEXT "1.4a"

// The four-part file and product version of the version resource, as numbers
// and as text; both forms must name the same version.
#define MAPEDITOR_FILE_VERSION 1, 4, 0, 1
#define MAPEDITOR_FILE_VERSION_TEXT "1.4.0.1"

#endif
