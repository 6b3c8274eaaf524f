// version.h: the program's version, defined once for the resource script, the C++ code and the
// build (CMake reads the three numbers from here and refuses a project version that differs).
#pragma once

#define QUIRN_VERSION_MAJOR 2
#define QUIRN_VERSION_MINOR 0
#define QUIRN_VERSION_PATCH 7

#define QUIRN_VERSION_STR_(x) #x
#define QUIRN_VERSION_STR(x) QUIRN_VERSION_STR_(x)

// "2.0.7": a narrow literal, so that both the resource compiler and C++ can join it to others.
#define QUIRN_VERSION_TEXT                 \
    QUIRN_VERSION_STR(QUIRN_VERSION_MAJOR) \
    "." QUIRN_VERSION_STR(QUIRN_VERSION_MINOR) "." QUIRN_VERSION_STR(QUIRN_VERSION_PATCH)

// The maker's copyright line, for the version resource and the about box.
#define QUIRN_COPYRIGHT_TEXT "Copyright (C) 2012-2013 Vandrel"
