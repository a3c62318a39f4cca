// Precompiled header: the Qt headers nearly every file includes.
#pragma once
#include <QtCore/QtCore>
#include <QtSql/QtSql>
#include <QtWidgets/QtWidgets>
