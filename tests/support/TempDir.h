// Test fixture that gives every test a fresh temporary folder and points the
// program folder ($TONARO_HOME) at it, so no test touches the user's files.
#pragma once

#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <string>

class TempDirTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Full path of a file inside the temporary folder.
    std::string PathOf(const std::string& name) const;
    QString QPathOf(const QString& name) const;
    const QString& Dir() const { return m_dir; }

private:
    QTemporaryDir m_tmp;
    QString m_dir;
    QByteArray m_oldHome;
    bool m_hadHome = false;
};

// Folder of the small fixture files kept in the tree.
std::string TestDataPath(const std::string& name);
