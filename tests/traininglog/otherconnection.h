#pragma once

// A connection of the test's own to a database file, in this process, as
// another program would hold it.
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>

#include <gtest/gtest.h>

namespace vk::test {

class OtherConnection
{
public:
    explicit OtherConnection(const QString &path)
        : m_name(QStringLiteral("other-%1").arg(++s_count))
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        db.setDatabaseName(path);
        opened = db.open();
    }
    ~OtherConnection()
    {
        {
            QSqlDatabase db = QSqlDatabase::database(m_name, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(m_name);
    }
    bool exec(const QString &statement)
    {
        QSqlQuery q(QSqlDatabase::database(m_name, false));
        const bool ok = q.exec(statement);
        EXPECT_TRUE(ok) << statement.toStdString() << ": " << q.lastError().text().toStdString();
        return ok;
    }
    QString value(const QString &statement)
    {
        QSqlQuery q(QSqlDatabase::database(m_name, false));
        return q.exec(statement) && q.next() ? q.value(0).toString() : QStringLiteral("<none>");
    }
    bool opened = false;

private:
    static inline int s_count = 0;
    QString m_name;
};

} // namespace vk::test
