// A real video file for the players' tests, made on this machine with the GStreamer elements
// the player needs anyway (the test pattern, JPEG frames, an AVI file): two seconds, 20 small
// frames.
#pragma once

#include <QString>

// The file, made once per test program; empty after a test failure saying why it could not be
// made.
QString testVideo();
