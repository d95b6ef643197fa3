// Collection methods, receipt kinds and free-field names of one institution.
#include <gtest/gtest.h>

#include "core/session_context.h"
#include "db/database.h"
#include "members/code_list_maintenance.h"
#include "support/two_institutions_fixture.h"

namespace qx {
namespace {

class CodeListMaintenanceTest : public test::TwoInstitutionsTest {
  protected:
    void SetUp() override {
        db = db_;
        // Back to the built-in lists and no members before each case.
        for (long long inx : {inst_.inx, other_.inx}) {
            db->ExecuteSql("delete from " + InstitutionSchema(inx) + ".comboload where cboinx>26");
            db->ExecuteSql("update " + InstitutionSchema(inx) +
                           ".comboload set combotext=concat('추가정보', combodata) "
                           "where combodivide='c_info'");
            db->ExecuteSql("delete from " + InstitutionSchema(inx) + ".member_user");
        }
        session = SessionContext{};
        session.institution_number = inst_.inx;
        session.inx = std::to_string(inst_.inx);
    }

    long long Count(const std::string& list, long long inx = 0) {
        return db->scalarInt("select count(*) from " + InstitutionSchema(inx ? inx : inst_.inx) +
                                 ".comboload where combodivide=?",
                             {list});
    }
    bool Add(CodeListKind kind, const std::string& code, const std::string& name) {
        return AddCodeEntry(*db, session, ui, kind, code, name);
    }
    std::string LastText() { return ui.shown.empty() ? "" : ui.shown.back().text; }
    long long CboinxOf(const std::string& list, const std::string& code) {
        return db->scalarInt("select cboinx from " + InstitutionSchema(inst_.inx) +
                                 ".comboload where combodivide=? and combodata=?",
                             {list, code});
    }
    void AddMember(const std::string& settle, const std::string& pTax,
                   const std::string& remove = "1") {
        db->ExecuteSql("insert into " + InstitutionSchema(inst_.inx) +
                           ".member_user (username, settle_accounts, p_tax, remove) "
                           "values ('회원',?,?,?)",
                       {settle, pTax, remove});
    }
};

TEST_F(CodeListMaintenanceTest, CollectionCodeBoundaries) {
    EXPECT_FALSE(Add(CodeListKind::kCollectionMethod, "9", "아홉"));
    EXPECT_EQ(LastText(), kSettleCodeTooLowText);
    EXPECT_FALSE(Add(CodeListKind::kCollectionMethod, "100", "백"));
    EXPECT_EQ(LastText(), kSettleCodeTooHighText);
    EXPECT_FALSE(Add(CodeListKind::kCollectionMethod, "99999999999999999999", "큰수"));
    EXPECT_EQ(LastText(), kSettleCodeTooHighText);
    EXPECT_FALSE(Add(CodeListKind::kCollectionMethod, "1a", "글자"));
    EXPECT_EQ(LastText(), kSettleCodeTooLowText);
    EXPECT_FALSE(Add(CodeListKind::kCollectionMethod, "", "없음"));
    EXPECT_EQ(LastText(), kSettleCodeRequiredText);
    EXPECT_EQ(Count("settleacnt"), 5);

    EXPECT_TRUE(Add(CodeListKind::kCollectionMethod, "10", "열"));
    EXPECT_TRUE(Add(CodeListKind::kCollectionMethod, "99", "O'Brien"));
    EXPECT_EQ(Count("settleacnt"), 7);
    auto rows = ListCodeRows(*db, session, CodeListKind::kCollectionMethod);
    ASSERT_EQ(rows.size(), 7u);
    EXPECT_EQ(rows.back().text, "O'Brien");
    EXPECT_EQ(rows.back().data, "99");
    EXPECT_EQ(Count("settleacnt", other_.inx), 5);
}

TEST_F(CodeListMaintenanceTest, NameRequiredDuplicateAndLimit) {
    EXPECT_FALSE(Add(CodeListKind::kCollectionMethod, "20", " "));
    EXPECT_EQ(LastText(), kSettleNameRequiredText);
    EXPECT_TRUE(Add(CodeListKind::kCollectionMethod, "20", "스무"));
    EXPECT_FALSE(Add(CodeListKind::kCollectionMethod, "020", "또스무"));
    EXPECT_EQ(LastText(), kSettleCodeDuplicateText);
    // 21 entries already shown refuse the next one; 20 do not.
    for (int code = 21; Count("settleacnt") < 20; ++code)
        ASSERT_TRUE(Add(CodeListKind::kCollectionMethod, std::to_string(code), "항목"));
    EXPECT_TRUE(Add(CodeListKind::kCollectionMethod, "80", "스물한번째"));
    EXPECT_EQ(Count("settleacnt"), 21);
    EXPECT_FALSE(Add(CodeListKind::kCollectionMethod, "81", "스물두번째"));
    EXPECT_EQ(LastText(), kCodeListFullText);
    EXPECT_EQ(Count("settleacnt"), 21);
}

TEST_F(CodeListMaintenanceTest, ReceiptKindAddRules) {
    EXPECT_FALSE(Add(CodeListKind::kReceiptKind, "", "이름"));
    EXPECT_EQ(LastText(), kReceiptCodeRequiredText);
    EXPECT_FALSE(Add(CodeListKind::kReceiptKind, "8", ""));
    EXPECT_EQ(LastText(), kReceiptNameRequiredText);
    EXPECT_FALSE(Add(CodeListKind::kReceiptKind, "3", "영수증2"));
    EXPECT_EQ(LastText(), kReceiptCodeDuplicateText);
    EXPECT_FALSE(Add(CodeListKind::kReceiptKind, "10", "두자리"));
    EXPECT_EQ(LastText(), kReceiptCodeRangeText);
    EXPECT_EQ(Count("tallysheet"), 8);
    EXPECT_TRUE(Add(CodeListKind::kReceiptKind, "8", "확인서"));
    EXPECT_EQ(Count("tallysheet"), 9);
}

TEST_F(CodeListMaintenanceTest, BuiltInCollectionMethodIsNotDeleted) {
    ui.defaultAnswer = true;
    EXPECT_FALSE(DeleteCodeEntry(*db, session, ui, CodeListKind::kCollectionMethod,
                                 CboinxOf("settleacnt", "5")));
    EXPECT_EQ(LastText(), std::string("신용카드") + kNotDeletableSuffix);
    EXPECT_EQ(Count("settleacnt"), 5);
}

TEST_F(CodeListMaintenanceTest, CollectionMethodInUseUntilMemberDeleted) {
    ASSERT_TRUE(Add(CodeListKind::kCollectionMethod, "15", "방문"));
    AddMember("15", "0");
    ui.defaultAnswer = true;
    const long long id = CboinxOf("settleacnt", "15");
    EXPECT_FALSE(DeleteCodeEntry(*db, session, ui, CodeListKind::kCollectionMethod, id));
    EXPECT_EQ(LastText(), std::string("방문") + kInUseSuffix);
    // A deleted member (remove 4) no longer holds the code.
    db->ExecuteSql("update " + InstitutionSchema(inst_.inx) + ".member_user set remove='4'");
    ui.answers = {false};
    EXPECT_FALSE(DeleteCodeEntry(*db, session, ui, CodeListKind::kCollectionMethod, id));
    EXPECT_EQ(LastText(), std::string("방문") + kDeleteQuestionSuffix);
    EXPECT_TRUE(ui.shown.back().question);
    EXPECT_EQ(Count("settleacnt"), 6);
    EXPECT_TRUE(DeleteCodeEntry(*db, session, ui, CodeListKind::kCollectionMethod, id));
    EXPECT_EQ(Count("settleacnt"), 5);
}

TEST_F(CodeListMaintenanceTest, ReceiptKindInUseThenFree) {
    AddMember("1", "3");
    ui.defaultAnswer = true;
    const long long id = CboinxOf("tallysheet", "3");
    EXPECT_FALSE(DeleteCodeEntry(*db, session, ui, CodeListKind::kReceiptKind, id));
    EXPECT_EQ(LastText(), std::string("영수증") + kInUseSuffix);
    EXPECT_EQ(Count("tallysheet"), 8);
    db->ExecuteSql("update " + InstitutionSchema(inst_.inx) + ".member_user set p_tax='0'");
    EXPECT_TRUE(DeleteCodeEntry(*db, session, ui, CodeListKind::kReceiptKind, id));
    EXPECT_EQ(Count("tallysheet"), 7);
    EXPECT_EQ(Count("tallysheet", other_.inx), 8);
}

TEST_F(CodeListMaintenanceTest, EntryOfAnotherListIsNotDeleted) {
    EXPECT_THROW(
        DeleteCodeEntry(*db, session, ui, CodeListKind::kReceiptKind, CboinxOf("settleacnt", "1")),
        std::invalid_argument);
    EXPECT_EQ(Count("settleacnt"), 5);
}

TEST_F(CodeListMaintenanceTest, FreeFieldNames) {
    db->ExecuteSql(
        "update " + InstitutionSchema(inst_.inx) +
        ".comboload set combotext='(비고)' where combodivide='c_info' and combodata='2'");
    auto rows = ListCodeRows(*db, session, CodeListKind::kFreeFieldName);
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[1].text, "비고");

    EXPECT_FALSE(RenameFreeField(*db, session, ui, 1, "이메일-주소"));
    EXPECT_EQ(LastText(), kSpecialCharacterText);
    ui.answers = {false};
    EXPECT_FALSE(RenameFreeField(*db, session, ui, 1, "이메일"));
    EXPECT_EQ(LastText(), kApplyQuestionText);
    ui.answers = {true};
    EXPECT_TRUE(RenameFreeField(*db, session, ui, 1, "Email2"));
    rows = ListCodeRows(*db, session, CodeListKind::kFreeFieldName);
    EXPECT_EQ(rows[0].text, "Email2");
    EXPECT_EQ(rows[2].text, "추가정보3");
    EXPECT_THROW(RenameFreeField(*db, session, ui, 7, "정보"), std::invalid_argument);

    session.brinx = 3;
    ui.answers = {true};
    EXPECT_FALSE(RenameFreeField(*db, session, ui, 1, "지점명"));
    EXPECT_EQ(LastText(), kFreeFieldHeadOfficeOnlyText);
    EXPECT_EQ(ListCodeRows(*db, session, CodeListKind::kFreeFieldName)[0].text, "Email2");
}

}  // namespace
}  // namespace qx
