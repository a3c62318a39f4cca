// Precompiled header of the floors without windows: the Qt headers nearly every file includes.
#pragma once
#include <QtCore/QtCore>
#include <QtSql/QtSql>
