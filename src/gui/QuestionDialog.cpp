#include "gui/QuestionDialog.h"

#include "gui/QtDialogs.h"
#include "services/Dialogs.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace belmo::gui {

namespace answer = services::answer;

QuestionDialog::QuestionDialog(const QString& description, const QString& question, QWidget* parent)
    : QDialog(parent), answer_(answer::kNo)
{
    setWindowTitle(QtDialogs::kDefaultTitle);
    setModal(true);

    auto* icon = new QLabel(this);
    const int iconSize = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion, nullptr, this).pixmap(iconSize));
    icon->setAlignment(Qt::AlignTop);

    auto* descriptionLabel = new QLabel(description, this);
    descriptionLabel->setWordWrap(true);
    auto* questionLabel = new QLabel(question, this);
    questionLabel->setWordWrap(true);
    QFont bold = questionLabel->font();
    bold.setBold(true);
    questionLabel->setFont(bold);

    auto* texts = new QVBoxLayout;
    texts->setSpacing(8);
    texts->addWidget(descriptionLabel);
    texts->addWidget(questionLabel);
    texts->addStretch();
    auto* top = new QHBoxLayout;
    top->setSpacing(12);
    top->addWidget(icon);
    top->addLayout(texts, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    addAnswer(buttons, QStringLiteral("Evet"), answer::kYes);
    addAnswer(buttons, QStringLiteral("Hayır"), answer::kNo);
    addAnswer(buttons, QStringLiteral("Tümüne Evet"), answer::kYesToAll);
    addAnswer(buttons, QStringLiteral("Tümüne Hayır"), answer::kNoToAll);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 14, 14, 12);
    layout->setSpacing(16);
    layout->addLayout(top, 1);
    layout->addLayout(buttons);
    setMinimumWidth(560);
}

void QuestionDialog::addAnswer(QBoxLayout* row, const QString& caption, const QString& code)
{
    auto* button = new QPushButton(caption, this);
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, [this, code] {
        answer_ = code;
        accept();
    });
    row->addWidget(button);
}

}  // namespace belmo::gui
