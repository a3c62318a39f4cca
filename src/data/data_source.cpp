#include "data/data_source.h"

#include <QDir>

QString linkFileName(DataSource source) {
  switch (source) {
    case DataSource::Vantrel:
      return QStringLiteral("Vantrel.udl");
    case DataSource::Brisca:
      return QStringLiteral("Brisca.udl");
    case DataSource::Tamsel:
      return QStringLiteral("Tamsel.udl");
    case DataSource::Ondrel:
      return QStringLiteral("Ondrel.udl");
    case DataSource::RestoreBackup:
      return QStringLiteral("ResrtoreBackup.udl");
    case DataSource::SaBrisca:
      return QStringLiteral("SA/Brisca.udl");
    case DataSource::SaOndrel:
      return QStringLiteral("SA/Ondrel.udl");
  }
  return {};
}

QString linkFilePath(DataSource source) {
  return installationFolder() + QLatin1Char('/') + linkFileName(source);
}

QString dataSourceName(DataSource source) {
  switch (source) {
    case DataSource::Vantrel:
      return QStringLiteral("Vantrel");
    case DataSource::Brisca:
    case DataSource::SaBrisca:
      return QStringLiteral("Brisca");
    case DataSource::Tamsel:
      return QStringLiteral("Tamsel");
    case DataSource::Ondrel:
    case DataSource::SaOndrel:
      return QStringLiteral("Ondrel");
    case DataSource::RestoreBackup:
      return QStringLiteral("ResrtoreBackup");
  }
  return {};
}

DataSource memberDataSource(const QString& pathExercicio) {
  return pathExercicio == QStringLiteral("Sim") ? DataSource::Vantrel : DataSource::Brisca;
}
