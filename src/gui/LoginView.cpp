#include "gui/LoginView.h"

#include "gui/Bindings.h"
#include "gui/PanelView.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFocusEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace belmo::gui {

namespace {

// Focus that goes to another window or a pop-up and comes back is no visit to the field:
// only moves inside the window enter and leave it.
bool movesWithinWindow(const QFocusEvent* event)
{
    return event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason;
}

QComboBox* companyList(const char* name, QWidget* parent)
{
    auto* list = new QComboBox(parent);
    list->setObjectName(QLatin1String(name));
    list->setEditable(true);
    list->setInsertPolicy(QComboBox::NoInsert);
    return list;
}

}  // namespace

LoginView::LoginView(app::GIRIS& login, QWidget* parent)
    : QWidget(parent),
      login_(login),
      userName_(new QLineEdit(this)),
      password_(new QLineEdit(this)),
      source_(companyList("kaynakSirket", this)),
      target_(companyList("hedefSirket", this)),
      fields_{Field{userName_, password_, &app::GIRIS::kullaniciAdiLostFocus},
              Field{password_, source_, &app::GIRIS::sifreLostFocus}}
{
    setWindowTitle(app::GIRIS::kCaption);
    userName_->setObjectName(QStringLiteral("kullaniciAdi"));
    password_->setObjectName(QStringLiteral("sifre"));
    password_->setEchoMode(QLineEdit::Password);
    for (Field& f : fields_) f.edit->installEventFilter(this);

    auto* frame = new PanelView(login_.frame, this);
    frame->body()->addWidget(buildForm());
    frame->body()->addWidget(buildButtons());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(frame);

    bindTextBox(userName_, login_.kullaniciAdi);
    bindTextBox(password_, login_.sifre);
    bindComboBox(source_, login_.kaynakSirket);
    bindComboBox(target_, login_.hedefSirket);
}

QWidget* LoginView::buildForm()
{
    auto* form = new QWidget(this);
    auto* layout = new QFormLayout(form);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    layout->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    layout->addRow(QStringLiteral("Kullanıcı Adı"), userName_);
    layout->addRow(QStringLiteral("Şifre"), password_);
    layout->addRow(QStringLiteral("Kaynak Şirket"), source_);
    layout->addRow(QStringLiteral("Hedef Şirket"), target_);
    for (QWidget* w : {static_cast<QWidget*>(userName_), static_cast<QWidget*>(password_),
                       static_cast<QWidget*>(source_), static_cast<QWidget*>(target_)})
        w->setMinimumWidth(w->fontMetrics().horizontalAdvance(QLatin1Char('M')) * 16);
    return form;
}

QWidget* LoginView::buildButtons()
{
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addStretch();
    auto* onayla = new QPushButton(login_.onayla.caption(), row);
    auto* cikis = new QPushButton(login_.cikis.caption(), row);
    bindButton(onayla, login_.onayla, [this] { leavePendingFields(); });
    bindButton(cikis, login_.cikis);
    layout->addWidget(onayla);
    layout->addWidget(cikis);
    return row;
}

LoginView::Field* LoginView::field(QObject* widget)
{
    for (Field& f : fields_)
        if (f.edit == widget) return &f;
    return nullptr;
}

bool LoginView::eventFilter(QObject* watched, QEvent* event)
{
    Field* f = field(watched);
    if (!f) return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::FocusIn:
        if (movesWithinWindow(static_cast<QFocusEvent*>(event))) {
            f->pending = true;
            // A mouse press places the cursor after the focus arrives: select once it has.
            QMetaObject::invokeMethod(f->edit, &QLineEdit::selectAll, Qt::QueuedConnection);
        }
        break;
    case QEvent::FocusOut:
        if (movesWithinWindow(static_cast<QFocusEvent*>(event))) leave(*f);
        break;
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            leave(*f);  // here: a window not active yet moves the focus without telling the field
            f->next->setFocus(Qt::TabFocusReason);
            return true;
        }
        f->pending = true;
        break;
    }
    default: break;
    }
    return QWidget::eventFilter(watched, event);
}

void LoginView::leave(Field& field)
{
    if (!field.pending) return;
    field.pending = false;
    (login_.*field.leave)();
}

void LoginView::leavePendingFields()
{
    for (Field& f : fields_) leave(f);
}

void LoginView::closeEvent(QCloseEvent* event)
{
    // The window's close control is the model's: the program hides the window once the
    // model has closed it.
    if (!login_.visible()) return event->accept();
    event->ignore();
    login_.kapat.click();
}

}  // namespace belmo::gui
