#include "ui/main/web_board_screen.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/gui_interaction.h"

namespace qx::ui {

WebBoardScreen::WebBoardScreen(const QString& id, const QString& title, ScreenContext& context,
                               QWidget* parent)
    : BusinessScreen(id, title, parent), context_(context) {
    auto* note = new QLabel(QStringLiteral("게시판은 기본 브라우저에서 열립니다."), this);
    address_ = new QLabel(this);
    address_->setObjectName("lblAddress");
    address_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* open = new QPushButton(QStringLiteral("브라우저에서 보기"), this);
    open->setObjectName("cmdOpenBoard");
    auto* row = new QHBoxLayout;
    row->addWidget(open);
    row->addStretch(1);
    body()->addWidget(note);
    body()->addWidget(address_);
    body()->addLayout(row);
    body()->addStretch(1);
    connect(open, &QPushButton::clicked, this, [this] {
        if (context_.openUrl && !url_.isEmpty()) context_.openUrl(S(url_));
    });
}

void WebBoardScreen::reopen(const MenuChoice& choice) {
    setWindowTitle(Q(choice.title));
    findChild<QLabel*>("lblTitle")->setText(Q(choice.title));
    url_ = Q(BoardUrl(context_.session, choice.boardAct));
    address_->setText(url_);
}

}  // namespace qx::ui
