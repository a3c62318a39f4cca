// The bulk publishing as the window and the command line run it on the installation: the
// members selected in two steps (their series in the workout database, then their details where
// the members are kept), the staff names and assessment values, and the run in one portal
// transaction with the program's messages.
#pragma once

#include <QDate>
#include <functional>
#include <optional>
#include "base/failure.h"
#include "data/settings_record.h"

#include "portal/bulk_publish.h"

// What a run publishes for the period, or what failed: the members or the staff cannot be read,
// or the assessment database the settings call for cannot be reached.
Result<BulkInput> prepareBulkInput(const Settings& settings, const QDate& from, const QDate& to);

// The run, on connections of its own (so it may run on a worker thread, and tells nobody). A
// portal that cannot be reached, or any failure on the way, rolls the portal back; nothing then.
std::optional<BulkSummary> runBulkPublishing(
    const BulkInput& input, const std::function<void(int done, int total)>& progress = {});

// What the user is told when a run failed.
Failure bulkFailure();
