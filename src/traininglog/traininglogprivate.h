#pragma once

#include "traininglog/sqliteaccess.h"
#include "traininglog/traininglog.h"

#include <QSqlQuery>
#include <QString>

#include <memory>
#include <optional>

namespace vk {

// An open log: its connection and the prepared statement that adds a row.
struct TrainingLog::Private {
    QString path;
    LockPolicy policy;
    std::unique_ptr<logdb::Connection> connection;
    std::optional<QSqlQuery> insert;
    QString problem;
    bool lockedOut = false;
};

} // namespace vk
