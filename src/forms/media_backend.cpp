#include "forms/media_backend.h"

#include <gst/gst.h>

#include "base/error_log.h"

namespace {

// The elements Qt's GStreamer backend links into every pipeline it builds. The first group
// comes with GStreamer itself, the rest with the base and good plugin packages.
constexpr const char* kPipelineElements[] = {
    "queue",        "identity",   "input-selector", "tee",    "capsfilter",    "fakesink",
    "videoconvert", "videoscale", "audioconvert",   "volume", "audioresample",
};
constexpr const char* kPlayerElements[] = {"decodebin", "uridecodebin", "autoaudiosink"};

// Another backend chosen on purpose (QT_MEDIA_BACKEND=ffmpeg) does not need GStreamer.
bool gstreamerInUse() {
  const QString chosen = qEnvironmentVariable("QT_MEDIA_BACKEND");
  return chosen.isEmpty() || chosen == QStringLiteral("gstreamer");
}

QStringList missingElements(bool player) {
  QStringList missing;
  GError* error = nullptr;
  if (!gst_init_check(nullptr, nullptr, &error)) {
    missing << QString::fromUtf8(error ? error->message : "gst_init");
    if (error) g_error_free(error);
    return missing;
  }
  auto check = [&missing](const char* name) {
    GstElementFactory* factory = gst_element_factory_find(name);
    if (factory)
      gst_object_unref(factory);
    else
      missing << QString::fromLatin1(name);
  };
  for (const char* name : kPipelineElements) check(name);
  if (player)
    for (const char* name : kPlayerElements) check(name);
  return missing;
}

MediaBackend probe(bool player) {
  MediaBackend backend;
  if (!gstreamerInUse()) {
    backend.ready = true;
    return backend;
  }
  backend.missing = missingElements(player);
  backend.ready = backend.missing.isEmpty();
  if (!backend.ready)
    appendToLog(QStringLiteral("Vídeo indisponível: faltam os elementos GStreamer %1")
                    .arg(backend.missing.join(QStringLiteral(", "))));
  return backend;
}

}  // namespace

// The answer cannot change while the program runs: GStreamer reads its plugin registry once.
MediaBackend playerBackend() {
  static const MediaBackend backend = probe(true);
  return backend;
}

MediaBackend captureBackend() {
  static const MediaBackend backend = probe(false);
  return backend;
}
