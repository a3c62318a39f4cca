#include "support/test_video.h"

#include <gst/gst.h>
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

namespace {

// Empty when this machine cannot make it (the reason in `why`).
QString makeVideo(const QString& file, QString* why) {
  GError* error = nullptr;
  if (!gst_init_check(nullptr, nullptr, &error)) {
    *why = QString::fromUtf8(error ? error->message : "gst_init");
    return QString();
  }
  const QByteArray description =
      "videotestsrc num-buffers=20 ! video/x-raw,width=64,height=48,framerate=10/1 ! jpegenc ! "
      "avimux ! filesink location=\"" +
      QFile::encodeName(file) + '"';
  GstElement* pipeline = gst_parse_launch(description.constData(), &error);
  if (!pipeline) {
    *why = QString::fromUtf8(error ? error->message : "gst_parse_launch");
    if (error) g_error_free(error);
    return QString();
  }
  gst_element_set_state(pipeline, GST_STATE_PLAYING);
  GstBus* bus = gst_element_get_bus(pipeline);
  GstMessage* done = gst_bus_timed_pop_filtered(
      bus, 60 * GST_SECOND, GstMessageType(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
  const bool made = done && GST_MESSAGE_TYPE(done) == GST_MESSAGE_EOS;
  if (done) gst_message_unref(done);
  gst_object_unref(bus);
  gst_element_set_state(pipeline, GST_STATE_NULL);
  gst_object_unref(pipeline);
  if (!made) *why = QStringLiteral("o vídeo de teste não pôde ser gerado");
  return made ? file : QString();
}

}  // namespace

QString testVideo() {
  static QTemporaryDir videos;
  static QString why;
  static const QString file = makeVideo(videos.filePath(QStringLiteral("aula.avi")), &why);
  EXPECT_FALSE(file.isEmpty()) << why.toStdString();
  return file;
}
