// Suites that change one institution and check that a second one stays as it
// was: one connection and two institutions for the whole suite.
#pragma once

#include <gtest/gtest.h>

#include "core/session_context.h"
#include "db/database.h"
#include "support/scripted_interaction.h"
#include "support/test_database.h"

namespace qx::test {

class TwoInstitutionsTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        db_ = ConnectTestDatabase().release();
        inst_ = CreateTestInstitution(*db_);
        other_ = CreateTestInstitution(*db_);
    }
    static void TearDownTestSuite() {
        delete db_;
        db_ = nullptr;
    }

    static inline Database* db_ = nullptr;
    static inline TestInstitution inst_, other_;
    Database* db = nullptr;  // the suite's connection, set by each test's SetUp
    SessionContext session;
    ScriptedInteraction ui;
};

}  // namespace qx::test
