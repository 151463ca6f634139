#include "findbar.h"
#include "ui_findbar.h"

#include <QKeyEvent>
#include <QPainter>

FindBar::FindBar(QWidget* parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::FindBar>())
{
    ui->setupUi(this);
    // The bar lies beside the page, not on it: it takes the desktop's
    // colours, like the view's menus and dialogs.
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Window);
    setForegroundRole(QPalette::WindowText);
    setFocusProxy(ui->findEdit);
    ui->findEdit->installEventFilter(this);
    connect(ui->findEdit, &QLineEdit::textChanged, this, &FindBar::searchChanged);
    connect(ui->matchCaseBox, &QCheckBox::toggled, this, &FindBar::searchChanged);
    connect(ui->nextButton, &QToolButton::clicked, this, &FindBar::nextRequested);
    connect(ui->previousButton, &QToolButton::clicked, this, &FindBar::previousRequested);
    connect(ui->closeButton, &QToolButton::clicked, this, &FindBar::close);
}

FindBar::~FindBar() = default;

QString FindBar::text() const
{
    return ui->findEdit->text();
}

void FindBar::setText(const QString& text)
{
    ui->findEdit->setText(text);
}

Qt::CaseSensitivity FindBar::caseSensitivity() const
{
    return ui->matchCaseBox->isChecked() ? Qt::CaseSensitive : Qt::CaseInsensitive;
}

void FindBar::activate()
{
    show();
    ui->findEdit->setFocus(Qt::ShortcutFocusReason);
    ui->findEdit->selectAll();
}

void FindBar::setMatches(int newCurrent, int newCount)
{
    current = newCurrent;
    count = newCount;
    showMatches();
}

QString FindBar::matchText() const
{
    return ui->matchLabel->text();
}

void FindBar::showMatches()
{
    if (text().isEmpty())
        ui->matchLabel->clear();
    else if (count == 0)
        ui->matchLabel->setText(tr("No matches"));
    else
        ui->matchLabel->setText(tr("%1 of %2").arg(QLocale().toString(current + 1), QLocale().toString(count)));
    ui->nextButton->setEnabled(count > 0);
    ui->previousButton->setEnabled(count > 0);
}

void FindBar::close()
{
    hide();
    emit closed();
}

bool FindBar::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ui->findEdit && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            if (key->modifiers() & Qt::ShiftModifier)
                emit previousRequested();
            else
                emit nextRequested();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void FindBar::keyPressEvent(QKeyEvent* event)
{
    // Escape anywhere on the bar; the field passes it on.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void FindBar::paintEvent(QPaintEvent* event)
{
    QWidget::paintEvent(event);
    // A line that parts the bar from the page above it.
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawLine(rect().topLeft(), rect().topRight());
}

void FindBar::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        showMatches();
    }
}
