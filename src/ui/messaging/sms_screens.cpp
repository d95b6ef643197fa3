#include "ui/messaging/sms_screens.h"

#include <QComboBox>
#include <QDateEdit>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/session_context.h"
#include "db/database.h"
#include "db/server_clock.h"
#include "messaging/sms_history.h"
#include "platform/amount_text.h"
#include "platform/codepage.h"
#include "platform/profile_ini.h"
#include "ui/cms/status_grid.h"
#include "ui/export/grid_export.h"
#include "ui/gui_interaction.h"
#include "ui/period_row.h"

namespace qx::ui {

namespace {

enum Column { kMark, kName, kMessage, kBytes, kPayer, kMobile, kAmount, kOutstanding, kDay };
constexpr const char* kMarked = "보냄";

ProfileIni LoginIni(const SessionContext& s) {
    return ProfileIni(s.AppPath + "Login.ini");
}

QTableWidgetItem* Cell(const std::string& text, bool right = false) {
    auto* item = new QTableWidgetItem(Q(text));
    if (right) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

}  // namespace

SmsSendDialog::SmsSendDialog(Database& db, SessionContext& session, Interaction& ui,
                             std::vector<SmsRecipient> rows, QWidget* parent)
    : QDialog(parent), db_(db), session_(session), ui_(ui), rows_(std::move(rows)) {
    setObjectName("frmLMS");
    build(false);
}

SmsSendDialog::SmsSendDialog(Database& db, SessionContext& session, Interaction& ui,
                             SmsFileQuery file, QWidget* parent)
    : QDialog(parent), db_(db), session_(session), ui_(ui), file_(std::move(file)) {
    setObjectName("frmLMS2");
    build(true);
}

SmsSendDialog::~SmsSendDialog() = default;

void SmsSendDialog::build(bool fileScreen) {
    setWindowTitle(fileScreen ? QStringLiteral("SMS 발송 (결과파일)") : QStringLiteral("SMS 발송"));
    Guarded(ui_, [this] {
        settings_ = LoadSmsSettings(db_, session_, LoginIni(session_));
        messaging_ = std::make_unique<MessagingDb>(MessagingDbConfig(LoginIni(session_)));
        connected_ = messaging_->ConnectMessagingDb(ui_);
        if (!connected_) ui_.inform(kSmsServerUnreachableText, kDefaultTitle);
    });

    auto* layout = new QVBoxLayout(this);
    auto* kinds = new QHBoxLayout;
    sms_ = new QRadioButton(QString::fromUtf8(SmsKindLabel(SmsKind::Sms)), this);
    sms_->setObjectName("optSms");
    lms_ = new QRadioButton(QString::fromUtf8(SmsKindLabel(SmsKind::Lms)), this);
    lms_->setObjectName("optLms");
    sms_->setChecked(true);
    kinds->addWidget(sms_);
    kinds->addWidget(lms_);
    kinds->addStretch(1);
    sender_ = new QLabel(this);
    sender_->setObjectName("lblSender");
    sender_->setText(QStringLiteral("발신번호 : ") + Q(settings_.sender.SendPhone) +
                     QStringLiteral("   발신자 : ") +
                     Q(SenderDisplayName(session_, settings_.sender)));
    kinds->addWidget(sender_);
    layout->addLayout(kinds);

    auto* titleRow = new QHBoxLayout;
    titleLabel_ = new QLabel(QStringLiteral("LMS 제목"), this);
    title_ = new QLineEdit(this);
    title_->setObjectName("txtTitle");
    title_->setText(Q(LoginIni(session_).read("SMS", kLmsSubjectKey, "")));
    titleRow->addWidget(titleLabel_);
    titleRow->addWidget(title_, 1);
    layout->addLayout(titleRow);

    auto* templates = new QHBoxLayout;
    templates->addWidget(new QLabel(QStringLiteral("문자 서식"), this));
    template_ = new QComboBox(this);
    template_->setObjectName("cboTemplate");
    template_->addItem(QStringLiteral("선택"), -1);
    // The file screen offers the notices of results: MSG1..MSG5.
    for (int i = fileScreen ? 1 : 0; i < kTemplateCount; ++i)
        template_->addItem(Q(settings_.templates[static_cast<std::size_t>(i)]), i);
    templates->addWidget(template_, 1);
    layout->addLayout(templates);

    message_ = new QPlainTextEdit(this);
    message_->setObjectName("txtMessage");
    message_->setMaximumHeight(120);
    message_->installEventFilter(this);
    layout->addWidget(message_);

    auto* buttons = new QHBoxLayout;
    for (const auto& p : SmsPlaceholders()) {
        std::string caption = p.caption;
        if (fileScreen && file_.kind != SmsFileKind::Eb13 && std::string(p.token) == "[@PM]")
            caption = std::string("[@PM] ") + file_.amountColumn;
        auto* b = new QPushButton(Q(caption), this);
        if (std::string(p.token) == "[@PM]") scheduledToken_ = b;
        b->setObjectName(QStringLiteral("cmdToken") + QString::fromUtf8(p.token).mid(2).chopped(1));
        const QString token = QString::fromUtf8(p.token);
        connect(b, &QPushButton::clicked, this, [this, token] {
            message_->insertPlainText(token);
            message_->setFocus();
            updateCounter();
        });
        buttons->addWidget(b);
    }
    layout->addLayout(buttons);

    auto* actions = new QHBoxLayout;
    counter_ = new QLabel(this);
    counter_->setObjectName("lblBytes");
    actions->addWidget(counter_);
    actions->addStretch(1);
    if (fileScreen) {
        if (file_.kind == SmsFileKind::Eb13) {
            regKind_ = new QComboBox(this);
            regKind_->setObjectName("cboRegKind");
            regKind_->addItems({QStringLiteral("신규"), QStringLiteral("해지")});
            regKind_->setCurrentIndex(file_.cancelled ? 1 : 0);
            actions->addWidget(regKind_);
        } else {
            amount_ = new QComboBox(this);
            amount_->setObjectName("cboAmount");
            for (const auto& c : SmsAmountColumns(file_.kind)) amount_->addItem(Q(c));
            amount_->setCurrentText(Q(file_.amountColumn));
            actions->addWidget(amount_);
        }
        auto* list = new QPushButton(QStringLiteral("조회"), this);
        list->setObjectName("cmdList");
        connect(list, &QPushButton::clicked, this, &SmsSendDialog::listFileMembers);
        actions->addWidget(list);
    }
    auto* apply = new QPushButton(QStringLiteral("메세지 적용"), this);
    apply->setObjectName("cmdApply");
    auto* send = new QPushButton(QStringLiteral("전송"), this);
    send->setObjectName("cmdSend");
    auto* help = new QPushButton(QStringLiteral("도움말"), this);
    help->setObjectName("cmdHelp");
    auto* close = new QPushButton(QStringLiteral("닫기"), this);
    close->setObjectName("cmdClose");
    for (auto* b : {apply, send, help, close}) actions->addWidget(b);
    layout->addLayout(actions);

    count_ = new QLabel(this);
    count_->setObjectName("lblCount");
    layout->addWidget(count_);
    grid_ = new QTableWidget(this);
    grid_->setObjectName("grdMembers");
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    layout->addWidget(grid_, 1);

    connect(sms_, &QRadioButton::clicked, this, [this] { setKind(SmsKind::Sms); });
    connect(lms_, &QRadioButton::clicked, this, [this] { setKind(SmsKind::Lms); });
    connect(message_, &QPlainTextEdit::textChanged, this, &SmsSendDialog::updateCounter);
    connect(template_, &QComboBox::activated, this, [this](int index) {
        const int key = template_->itemData(index).toInt();
        if (key < 0) return;
        message_->setPlainText(Q(settings_.templates[static_cast<std::size_t>(key)]));
        Guarded(ui_, [this] { setKind(AskKindSwitch(S(message_->toPlainText()), kind_, ui_)); });
    });
    connect(apply, &QPushButton::clicked, this, &SmsSendDialog::applyMessage);
    connect(send, &QPushButton::clicked, this, &SmsSendDialog::send);
    connect(help, &QPushButton::clicked, this, [this] {
        SmsHelpDialog dialog(this);
        dialog.exec();
    });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(grid_, &QTableWidget::cellDoubleClicked, this, [this](int row, int column) {
        if (column == kMark) markChanged(row);
    });
    // Another choice of members or amount lists the file again.
    if (regKind_)
        connect(regKind_, &QComboBox::currentIndexChanged, this, &SmsSendDialog::listFileMembers);
    if (amount_)
        connect(amount_, &QComboBox::currentIndexChanged, this, &SmsSendDialog::listFileMembers);
    setKind(SmsKind::Sms);
    resize(980, 640);
    if (fileScreen && connected_) {
        listFileMembers();
    } else {
        fillGrid();
    }
}

bool SmsSendDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == message_ && event->type() == QEvent::KeyRelease && !asking_) {
        asking_ = true;
        Guarded(ui_, [this] { setKind(AskKindSwitch(S(message_->toPlainText()), kind_, ui_)); });
        asking_ = false;
    }
    return QDialog::eventFilter(watched, event);
}

void SmsSendDialog::setKind(SmsKind kind) {
    kind_ = kind;
    sms_->setChecked(kind == SmsKind::Sms);
    lms_->setChecked(kind == SmsKind::Lms);
    title_->setVisible(kind == SmsKind::Lms);
    titleLabel_->setVisible(kind == SmsKind::Lms);
    updateCounter();
}

void SmsSendDialog::updateCounter() {
    counter_->setText(Q(SmsByteCounterText(ByteLength(S(message_->toPlainText())), kind_)));
}

void SmsSendDialog::markChanged(int row) {
    auto& r = rows_.at(static_cast<std::size_t>(row));
    r.marked = !r.marked;
    grid_->item(row, kMark)->setText(r.marked ? QString::fromUtf8(kMarked) : QString());
    if (objectName() == "frmLMS2") count_->setText(Q(FileRecipientsText(rows_)));
}

void SmsSendDialog::fillGrid() {
    const std::string amountCaption = file_.kind != SmsFileKind::Eb13 && objectName() == "frmLMS2"
                                          ? file_.amountColumn
                                          : "매출예정액";
    grid_->clear();
    grid_->setColumnCount(9);
    grid_->setHorizontalHeaderLabels(
        {QStringLiteral("보냄"), QStringLiteral("고객명"), QStringLiteral("고객별 보낼 메세지"),
         QStringLiteral("메세지Byte"), QStringLiteral("납부자번호"), QStringLiteral("휴대번호"),
         Q(amountCaption), QStringLiteral("미수금"), QStringLiteral("이체예정일")});
    grid_->setRowCount(static_cast<int>(rows_.size()));
    for (int i = 0; i < static_cast<int>(rows_.size()); ++i) {
        const auto& r = rows_[static_cast<std::size_t>(i)];
        grid_->setItem(i, kMark, Cell(r.marked ? kMarked : ""));
        grid_->setItem(i, kName, Cell(r.values.name));
        grid_->setItem(i, kMessage, Cell(r.message));
        grid_->setItem(i, kBytes, Cell(r.message.empty() ? "" : std::to_string(r.bytes), true));
        grid_->setItem(i, kPayer, Cell(r.payer));
        grid_->setItem(i, kMobile, Cell(r.mobile));
        grid_->setItem(i, kAmount, Cell(FormatAmount(r.values.scheduled), true));
        grid_->setItem(i, kOutstanding, Cell(FormatAmount(r.values.outstanding), true));
        grid_->setItem(i, kDay, Cell(r.values.transferDay));
    }
    grid_->resizeColumnsToContents();
    if (objectName() == "frmLMS") {
        long long marked = 0;
        for (const auto& r : rows_) marked += r.marked;
        count_->setText(QStringLiteral("총 %1 건 중 %2 건 선택됨").arg(rows_.size()).arg(marked));
    }
}

void SmsSendDialog::listFileMembers() {
    Guarded(ui_, [this] {
        if (regKind_) file_.cancelled = regKind_->currentIndex() == 1;
        if (amount_) {
            file_.amountColumn = S(amount_->currentText());
            scheduledToken_->setText(Q("[@PM] " + file_.amountColumn));
        }
        rows_ = LoadFileRecipients(db_, session_, file_);
        progress_ = {};
        fillGrid();
        count_->setText(Q(FileRecipientsText(rows_)));
        if (rows_.empty()) ui_.inform(FileRecipientsText(rows_), kDefaultTitle);
    });
}

void SmsSendDialog::applyMessage() {
    Guarded(ui_, [this] {
        ApplyMessage(rows_, S(message_->toPlainText()), kind_, session_, settings_.sender, ui_);
        fillGrid();
    });
}

void SmsSendDialog::send() {
    Guarded(ui_, [this] {
        if (!connected_) {
            ui_.inform(kSmsServerUnreachableText, kDefaultTitle);
            return;
        }
        const std::string text = S(message_->toPlainText());
        // The grid always carries the text being sent.
        ApplyMessage(rows_, text, kind_, session_, settings_.sender, ui_);
        fillGrid();
        SmsSendRequest request;
        request.kind = kind_;
        request.message = text;
        request.title = S(title_->text());
        request.emptyMessageText =
            objectName() == "frmLMS2" ? kEmptyFileMessageText : kEmptyMessageText;
        try {
            SendMessages(*messaging_, session_, settings_.sender, LoginIni(session_), request,
                         rows_, progress_, ui_);
        } catch (const DatabaseError& e) {
            // The messaging database failing is no reason to end the program:
            // what was queued stays queued, and sending again continues.
            ui_.inform("데이타베이스 연결 오류\r\n오류 정보 : [" + std::to_string(e.nativeCode()) +
                           "]" + e.description(),
                       kDefaultTitle);
            ui_.inform(kSmsServerUnreachableText, kDefaultTitle);
        }
    });
}

SmsHelpDialog::SmsHelpDialog(QWidget* parent) : QDialog(parent) {
    setObjectName("popupSMS");
    setWindowTitle(QStringLiteral("SMS 도움말"));
    std::string text = "문자 서식에 아래의 항목을 넣으면 회원별 값으로 바뀌어 발송됩니다.\n\n";
    for (const auto& p : SmsPlaceholders()) text += std::string("  ") + p.caption + "\n";
    text += std::string("\n") + SmsKindLabel(SmsKind::Sms) + " : 한글 45자, 영문 90자\n" +
            SmsKindLabel(SmsKind::Lms) +
            " : 한글 1000자, 영문 2000자 (제목 한글 31자, 영문 64자)\n\n"
            "보낼 대상은 '보냄' 칸을 두 번 눌러 빼거나 다시 넣을 수 있습니다.";
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(Q(text), this);
    label->setObjectName("lblHelp");
    layout->addWidget(label);
    auto* ok = new QPushButton(QStringLiteral("확인"), this);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(ok, 0, Qt::AlignRight);
}

void OpenMemberSms(Database& db, SessionContext& session, Interaction& ui,
                   std::vector<SmsRecipient> rows, QWidget* parent) {
    SmsSendDialog dialog(db, session, ui, std::move(rows), parent);
    if (dialog.connected()) dialog.exec();
}

std::optional<SmsFileQuery> ChosenSmsFile(const QTableWidget* files, int column, SmsFileKind kind,
                                          Interaction& ui) {
    const std::string name = SelectedCellText(files, column);
    if (name.size() != 10) {
        ui.inform(kSmsFileNotChosenText, kDefaultTitle);
        return std::nullopt;
    }
    SmsFileQuery file;
    file.kind = kind;
    file.regDate = name.substr(4);
    return file;
}

void OpenFileSms(Database& db, SessionContext& session, Interaction& ui, const SmsFileQuery& file,
                 QWidget* parent) {
    SmsSendDialog dialog(db, session, ui, file, parent);
    if (dialog.connected()) dialog.exec();
}

// --- frmDoc46 ---------------------------------------------------------------

SmsHistoryScreen::SmsHistoryScreen(Database& db, SessionContext& session, Interaction& ui,
                                   QWidget* parent)
    : QWidget(parent), db_(db), session_(session), ui_(ui) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    const PeriodRow period = NewPeriodRow(this, QStringLiteral("발송기간"));
    auto* bar = period.row;
    from_ = period.from;
    to_ = period.to;
    result_ = new QComboBox(this);
    result_->setObjectName("cboResult");
    result_->addItem(QStringLiteral("전체"), QString());
    const std::pair<const char*, const char*> results[] = {
        {"전송완료", "전송완료"},   {"결과대기", "결과대기"},   {"음영지역(4400)", "4400"},
        {"음영지역(6603)", "6603"}, {"오류번호(4410)", "4410"}, {"오류번호(6606)", "6606"},
        {"기타에러", "기타에러"}};
    for (const auto& [caption, value] : results)
        result_->addItem(QString::fromUtf8(caption), QString::fromUtf8(value));
    kind_ = new QComboBox(this);
    kind_->setObjectName("cboKind");
    kind_->addItem(QStringLiteral("전체"), QString());
    kind_->addItem(QStringLiteral("SMS"), QStringLiteral("SMS"));
    kind_->addItem(QStringLiteral("LMS"), QStringLiteral("LMS"));
    field_ = new QComboBox(this);
    field_->setObjectName("cboField");
    field_->addItem(QStringLiteral("검색안함"), QString());
    field_->addItem(QStringLiteral("발송번호"), QStringLiteral("SEND_PHONE"));
    field_->addItem(QStringLiteral("수신번호"), QStringLiteral("DEST_PHONE"));
    field_->addItem(QStringLiteral("수신자명"), QStringLiteral("DEST_NAME"));
    field_->addItem(QStringLiteral("내용"), QStringLiteral("MSG_BODY"));
    text_ = new QLineEdit(this);
    text_->setObjectName("txtSearch");
    auto* find = new QPushButton(QStringLiteral("조회"), this);
    find->setObjectName("cmdList");
    auto* excel = new QPushButton(QStringLiteral("엑셀"), this);
    excel->setObjectName("cmdExcel");
    for (QWidget* w : std::initializer_list<QWidget*>{
             new QLabel(QStringLiteral("처리결과"), this), result_,
             new QLabel(QStringLiteral("구분"), this), kind_, field_, text_, find, excel})
        bar->addWidget(w);
    bar->addStretch(1);
    layout->addLayout(bar);
    count_ = new QLabel(this);
    count_->setObjectName("lblCount");
    layout->addWidget(count_);
    grid_ = new QTableWidget(this);
    grid_->setObjectName("grdHistory");
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    AttachExcelExport(*grid_, QString::fromUtf8(kSmsHistoryExportTitle), db_, session_, ui_);
    layout->addWidget(grid_, 1);

    connect(find, &QPushButton::clicked, this, &SmsHistoryScreen::search);
    connect(text_, &QLineEdit::returnPressed, this, &SmsHistoryScreen::search);
    connect(excel, &QPushButton::clicked, this, [this] {
        ExportGridToExcel(*grid_, QString::fromUtf8(kSmsHistoryExportTitle), db_, session_, ui_);
    });

    Guarded(ui_, [this] {
        const auto today = ParseDate(ReadServerDate(db_, session_));
        const QDate date = today ? ToQDate(*today) : QDate::currentDate();
        from_->setDate(QDate(date.year(), date.month(), 1));
        to_->setDate(date);
    });
    // The month so far is shown as the screen opens.
    search();
}

SmsHistoryScreen::~SmsHistoryScreen() = default;

void SmsHistoryScreen::search() {
    Guarded(ui_, [this] {
        if (!messaging_) {
            auto m = std::make_unique<MessagingDb>(MessagingDbConfig(LoginIni(session_)));
            if (!m->ConnectMessagingDb(ui_)) {
                ui_.inform(kSmsServerUnreachableText, kDefaultTitle);
                return;
            }
            messaging_ = std::move(m);
        }
        SmsHistoryQuery q;
        q.from = S(from_->date().toString("yyyy-MM-dd"));
        q.to = S(to_->date().toString("yyyy-MM-dd"));
        q.result = S(result_->currentData().toString());
        q.kind = S(kind_->currentData().toString());
        q.searchField = S(field_->currentData().toString());
        q.searchText = S(text_->text());
        const auto rs = LoadSmsHistory(*messaging_, session_, q, ui_);
        if (!rs) return;
        grid_->clear();
        grid_->setColumnCount(static_cast<int>(rs->columns.size()));
        QStringList captions;
        for (const auto& c : rs->columns) captions << Q(c);
        grid_->setHorizontalHeaderLabels(captions);
        grid_->setRowCount(static_cast<int>(rs->size()));
        for (int r = 0; r < static_cast<int>(rs->size()); ++r)
            for (int c = 0; c < static_cast<int>(rs->columns.size()); ++c)
                grid_->setItem(
                    r, c,
                    Cell(rs->values[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)]));
        grid_->resizeColumnsToContents();
        count_->setText(QString::number(rs->size()) + QStringLiteral(" 건 "));
    });
}

}  // namespace qx::ui
