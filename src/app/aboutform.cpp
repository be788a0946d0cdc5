#include "aboutform.h"

#include <QLabel>
#include <QVBoxLayout>

namespace {

QLabel* makeLabel(const QString& text, const QColor& colour, int pixelSize, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setPixelSize(pixelSize);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    return label;
}

} // namespace

TAbout::TAbout(QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName(QStringLiteral("About"));
    setWindowTitle(QStringLiteral("About"));

    auto* layout = new QVBoxLayout(this);
    auto* title = makeLabel(QStringLiteral("Brevan Talvor 1.0 (First Beta)"), Qt::red, 32, this);
    title->setObjectName(QStringLiteral("Label1"));
    QFont titleFont = title->font();
    titleFont.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Sans Serif")});
    title->setFont(titleFont);
    auto* credit = makeLabel(QStringLiteral("Written by the Brevan Talvor authors"),
                             QColor(0, 128, 128), 19, this);
    credit->setObjectName(QStringLiteral("Label2"));
    layout->addWidget(title);
    layout->addWidget(credit);
    layout->addStretch();
    // Its size, or larger where the fonts need more room: no text is ever cut.
    setFixedSize(QSize(426, 120).expandedTo(sizeHint()));
}
