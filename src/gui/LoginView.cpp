#include "gui/LoginView.h"

#include "gui/Bindings.h"
#include "gui/PanelView.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFocusEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace belmo::gui {

namespace {

// Focus that goes to another window or a pop-up and comes back is no visit to the field:
// only moves inside the window enter and leave it.
bool movesWithinWindow(const QFocusEvent* event)
{
    return event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason;
}

QLineEdit* textBox(const char* name, widgets::TextBox& box, QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QLatin1Char('M')) * 16);
    bindTextBox(edit, box);
    return edit;
}

QWidget* buttonRow(const QList<std::pair<QPushButton*, widgets::Button*>>& buttons, QWidget* parent)
{
    auto* row = new QWidget(parent);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addStretch();
    for (const auto& [view, button] : buttons) {
        view->setParent(row);
        view->setText(button->caption());
        layout->addWidget(view);
    }
    return row;
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
    auto* frames = new QStackedWidget(this);
    frames->addWidget(frame);
    frames->addWidget(buildServerFrame());
    follow<QStackedWidget>(login_.frames, frames, [this](QStackedWidget& stack) {
        stack.setCurrentIndex(login_.frames.front() == &login_.serverFrame ? 1 : 0);
    });
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(frames);

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
    auto* onayla = new QPushButton(this);
    auto* cikis = new QPushButton(this);
    auto* server = new QPushButton(this);
    server->setObjectName(QStringLiteral("serverBilgileri"));
    bindButton(onayla, login_.onayla, [this] { leavePendingFields(); });
    bindButton(cikis, login_.cikis);
    bindButton(server, login_.serverBilgileri);
    return buttonRow({{server, &login_.serverBilgileri}, {onayla, &login_.onayla}, {cikis, &login_.cikis}}, this);
}

QWidget* LoginView::buildServerFrame()
{
    auto* frame = new PanelView(login_.serverFrame, this);
    auto* form = new QWidget(frame);
    auto* layout = new QFormLayout(form);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    layout->addRow(QStringLiteral("Server Adı"), textBox("serverAdi", login_.serverAdi, form));
    layout->addRow(QStringLiteral("Port"), textBox("serverPort", login_.serverPort, form));
    layout->addRow(QStringLiteral("Kullanıcı Adı"), textBox("serverKullanici", login_.serverKullanici, form));
    QLineEdit* password = textBox("serverSifre", login_.serverSifre, form);
    password->setEchoMode(QLineEdit::Password);
    password->setPlaceholderText(QStringLiteral("boş: ~/.pgpass"));
    layout->addRow(QStringLiteral("Şifre"), password);
    auto* useServer = new QCheckBox(login_.sqlSunucu.caption(), form);
    useServer->setObjectName(QStringLiteral("sqlSunucu"));
    bindCheckBox(useServer, login_.sqlSunucu);
    layout->addRow(QString(), useServer);
    frame->body()->addWidget(form);

    auto* kaydet = new QPushButton(frame);
    auto* cikis = new QPushButton(frame);
    kaydet->setObjectName(QStringLiteral("kaydet"));
    bindButton(kaydet, login_.kaydet);
    bindButton(cikis, login_.serverCikis);
    frame->body()->addWidget(buttonRow({{kaydet, &login_.kaydet}, {cikis, &login_.serverCikis}}, frame));
    return frame;
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
