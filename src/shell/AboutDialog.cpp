#include "AboutDialog.h"

#include "Twips.h"

#include "TripLedgerVersion.h"
#include "views/ImageList.h"

#include <QLabel>
#include <QPushButton>

using Twips::place;

frmAbout::frmAbout(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About Trip Ledger"));
    // A close button alone leaves the narrow title bar room for the whole caption.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    picOne = place(new QLabel(this), QStringLiteral("picOne"), 120, 120, 615, 615);
    picOne->setAccessibleName(QStringLiteral("Trip Ledger icon"));

    const struct
    {
        int left, top, width, height;
        const char* text;
    } labels[] = {
        { 960, 120, 1935, 375, "Trip Ledger" },
        { 960, 360, 1935, 375, "\u00a9 2026 the Trip Ledger authors" },
        { 120, 840, 2895, 375, "Version" },
        { 120, 1080, 2895, 735, "Please forward problems to support@tripledger.example.org" },
    };
    for (size_t i = 0; i < lblInformation.size(); ++i) {
        const auto& l = labels[i];
        lblInformation[i] = place(new QLabel(QString::fromUtf8(l.text), this),
            QStringLiteral("lblInformation_%1").arg(i), l.left, l.top, l.width, l.height);
        lblInformation[i]->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    QFont title = lblInformation[0]->font();
    title.setBold(true);
    lblInformation[0]->setFont(title);
    lblInformation[3]->setWordWrap(true);
    lblInformation[3]->setTextInteractionFlags(Qt::TextSelectableByMouse);

    cmdOk = place(new QPushButton(QStringLiteral("&Ok"), this), QStringLiteral("cmdOk"), 1800, 1560, 1215, 375);
    cmdOk->setDefault(true);
    connect(cmdOk, &QPushButton::clicked, this, &QDialog::accept);

    Form_Load();
    // Orca reads a dialog's own labels only when three words long or more, which would leave out the name and the
    // version: the four lines are the icon's caption, and the window's description reads them whole, in order.
    QStringList lines;
    for (QLabel* line : lblInformation) {
        line->setBuddy(picOne);
        lines.append(line->text());
    }
    setAccessibleDescription(lines.join(QStringLiteral(". ")));

    // Laid out, like the main window, at its font's scale, or larger where a text needs it.
    const Twips::Scale scale = Twips::fittingScale(
        font(), { lblInformation[0], lblInformation[1], lblInformation[2], lblInformation[3], cmdOk });
    Twips::scaleAll(this, scale);
    setFixedSize(Twips::toPixels(QSize(3120, 2085), scale));
    picOne->setPixmap(ImageList::applicationIcon().pixmap(picOne->size()));
}

void frmAbout::Form_Load()
{
    lblInformation[2]->setText(QStringLiteral("Version %1.%2.%3")
                                   .arg(TRIPLEDGER_VERSION_MAJOR)
                                   .arg(TRIPLEDGER_VERSION_MINOR)
                                   .arg(TRIPLEDGER_VERSION_PATCH));
}
