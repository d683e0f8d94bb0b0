// The record window's frame: its pages with the status and buttons below them, the gate that
// runs when another page is shown, and the keys that go from page to page.
#include "record/frm_Releve_SHOC_Parts.h"

#include "record/PageOrder.h"

#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QScrollArea>
#include <QShortcut>
#include <QTabWidget>
#include <QVBoxLayout>

using namespace record::window;

namespace {

// The pages of ogl_Divers: caption, and the index of the frame fra_Divers that holds the page.
struct PageOf
{
    QString caption;
    int frame;
};
const PageOf kPages[5] = {
    {QStringLiteral("Localisation et caractéristiques de la zone d'étude"), 0},
    {QStringLiteral("Localisation et caractéristiques des parcelles"), 4},
    {QStringLiteral("Description du relevé"), 1},
    {QStringLiteral("Liste des espèces contactées"), 2},
    {QStringLiteral("Fichier sauvegardé"), 3},
};

// A page of a tab control: its frame inside a scroll area, so that every control stays
// reachable when the window is small. The focus goes through the page's controls, not the area.
QScrollArea* scrolled(QWidget* content)
{
    auto* area = new QScrollArea;
    area->setFocusPolicy(Qt::NoFocus);
    area->setWidgetResizable(true);
    area->setFrameShape(QFrame::NoFrame);
    area->setWidget(content);
    return area;
}

} // namespace

// ================================================================ pages

void frm_Releve_SHOC::buildPages()
{
    fra_Générale = frame(QStringLiteral("fra_Générale"), QString());
    ogl_Divers = named(new QTabWidget, QStringLiteral("ogl_Divers"));
    QWidget* pages[5] = {buildIdentificationPage(), buildParcelsPage(), buildVisitPage(), buildSpeciesPage(),
                         nullptr};
    flx_EPS = gridView(QStringLiteral("flx_EPS"));
    auto* stored = new QWidget;
    auto* storedLayout = new QVBoxLayout(stored);
    storedLayout->addWidget(flx_EPS);
    pages[kStoredPage] = stored;
    for (int i = 0; i < 5; ++i) {
        pages[i]->setObjectName(indexed(QStringLiteral("fra_Divers"), kPages[i].frame));
        fra_Divers[size_t(kPages[i].frame)] = pages[i];
        ogl_Divers->addTab(scrolled(pages[i]), kPages[i].caption);
    }

    txt_Statut = named(new QLabel, QStringLiteral("txt_Statut"));
    txt_Statut->setWordWrap(true);
    txt_Statut->setTextFormat(Qt::PlainText);
    txt_Statut->setMargin(4);
    cmd_Save = named(new QPushButton(QStringLiteral("Sauvegarder")), QStringLiteral("cmd_Save"));
    cmd_exit = named(new QPushButton(QStringLiteral("Enregistrer\net fermer")), QStringLiteral("cmd_exit"));
    connect(cmd_exit, &QPushButton::clicked, this, &frm_Releve_SHOC::closeFrame);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(txt_Statut, 1);
    bottom->addWidget(cmd_Save);
    bottom->addWidget(cmd_exit);
    auto* general = new QVBoxLayout(fra_Générale);
    general->addWidget(ogl_Divers, 1);
    general->addLayout(bottom);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(4, 4, 4, 4);
    outer->addWidget(fra_Générale);
}

// ================================================================ the page-change gate

// Another page: the box being left is checked first (a refusal shows its page again), then the
// page left is validated (Sub_Vérif_Data of its step), the locations get the department and
// commune they lack, and the species page waits for a record that can be saved.
void frm_Releve_SHOC::pageChanged(int index)
{
    const int left = m_pageShown;
    m_pageShown = index;
    if (m_loading || m_validating)
        return; // a page the validation shows itself
    if (!checkBoxLeft()) {
        {
            const QSignalBlocker blocker(ogl_Divers);
            ogl_Divers->setCurrentIndex(left);
        }
        m_pageShown = left;
        if (m_boxEntered)
            refocus(m_boxEntered);
        return;
    }
    {
        m_validating = true;
        const auto done = qScopeGuard([this] { m_validating = false; });
        m_checked = currentRecord();
        m_validator->pageChanged(left);
    }
    m_pageShown = ogl_Divers->currentIndex();
    switch (m_pageShown) {
    case 1:
        flx_Coordonnées->fitColumnWidths();
        break;
    case 2:
        flx_Date_Météo->fitColumnWidths(0, -1, kFitExtraTwips);
        break;
    case kSpeciesPage:
        flx_Espèces->fitColumnWidths();
        break;
    default:
        break;
    }
}

// The keyboard's way through the pages, wherever the focus is in the window; before the main
// window, which would take Ctrl+Tab to go to its next child window.
void frm_Releve_SHOC::connectPageKeys()
{
    const auto pageKey = [this](const QKeySequence& keys, int step) {
        auto* shortcut = new QShortcut(keys, this);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, step] { stepPage(step); });
    };
    pageKey(QKeySequence(Qt::CTRL | Qt::Key_Tab), 1);
    pageKey(QKeySequence(Qt::CTRL | Qt::Key_PageDown), 1);
    pageKey(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), -1); // also when it comes as Backtab
    pageKey(QKeySequence(Qt::CTRL | Qt::Key_PageUp), -1);
}

// The next or the previous page that can be shown, as a click on its tab shows it (the gate runs).
void frm_Releve_SHOC::stepPage(int step)
{
    QList<bool> reachable;
    for (int i = 0; i < ogl_Divers->count(); ++i)
        reachable << (ogl_Divers->isTabVisible(i) && ogl_Divers->isTabEnabled(i));
    const int page = record::nextReachablePage(reachable, ogl_Divers->currentIndex(), step);
    if (page >= 0 && page != ogl_Divers->currentIndex())
        ogl_Divers->setCurrentIndex(page);
}
