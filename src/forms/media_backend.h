// Whether this machine can play a video or show a camera. Qt Multimedia plays and captures
// through GStreamer, whose plugins load at run time; when the ones it builds its pipelines
// from are missing, creating a player crashes inside the backend instead of failing. Every
// window asks here first and, when the answer is no, says so instead of creating one.
#pragma once

#include <QString>
#include <QStringList>

struct MediaBackend {
  bool ready = false;
  QStringList missing;  // the GStreamer elements that could not be found
};

// What a video player needs (decoding, conversion, the audio output).
MediaBackend playerBackend();
// What a camera preview needs.
MediaBackend captureBackend();
