// The record window's visit page: the date and passage, the weather of each parcel, the comment.
#include "record/frm_Releve_SHOC_Parts.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QVBoxLayout>

using grid::Grid;
using namespace record::window;

namespace {

// flx_Date_Météo: its titles, and the list of each weather code.
const QString kWeatherHeader = QStringLiteral("|Parcelle|^Couverture nuageuse\t^Pluie\t^Vent\t^Visibilité");
const QString kWeatherLists[record::kWeatherCount] = {
    QStringLiteral(" |#1;1 - 0 - 33 %|#2;2 - 33 - 66 %|#3;3 - 66 - 100 %"),
    QStringLiteral(" |#1;1 - Absente|#2;2 - Bruine|#3;3 - Averses"),
    QStringLiteral(" |#1;1 - Absent|#2;2 - Faible|#3;3 - Moyen à fort"),
    QStringLiteral(" |#1;1 - Bonne|#2;2 - Modérée|#3;3 - Faible"),
};

} // namespace

QWidget* frm_Releve_SHOC::buildVisitPage()
{
    auto* page = new QWidget;
    fra_date = frame(QStringLiteral("fra_date"), QStringLiteral("Date et N° de passage"));
    txt_Date = named(new QLineEdit, QStringLiteral("txt_Date"));
    txt_Date->setMaxLength(10);
    txt_Date->setPlaceholderText(QStringLiteral("JJ/MM/AAAA"));
    txt_Date->setMaximumWidth(txt_Date->fontMetrics().horizontalAdvance(QStringLiteral("00/00/00000")) + 16);
    m_passages = new QButtonGroup(this);
    const QString captions[record::kPassageCount] = {
        QStringLiteral("1er passage"), QStringLiteral("2ème passage"), QStringLiteral("3ème passage"),
        QStringLiteral("4ème passage"), QStringLiteral("5ème passage")};
    auto* date = new QHBoxLayout(fra_date);
    date->addWidget(new QLabel(QStringLiteral("Date du relevé")));
    date->addWidget(txt_Date);
    date->addSpacing(24);
    date->addWidget(new QLabel(QStringLiteral("N° de passage :")));
    for (int i = 0; i < record::kPassageCount; ++i) {
        opt_Passage[size_t(i)] =
            named(new QRadioButton(captions[i]), indexed(QStringLiteral("opt_Passage"), i));
        m_passages->addButton(opt_Passage[size_t(i)], i);
        date->addWidget(opt_Passage[size_t(i)]);
    }
    date->addStretch(1);

    fra_Points_Météo =
        frame(QStringLiteral("fra_Points_Météo"), QStringLiteral("Conditions météorologiques"));
    flx_Date_Météo = gridView(QStringLiteral("flx_Date_Météo"));
    auto* weather = new QVBoxLayout(fra_Points_Météo);
    weather->addWidget(flx_Date_Météo);

    fra_Commentaire_Relevé =
        frame(QStringLiteral("fra_Commentaire_Relevé"), QStringLiteral("Commentaire sur le relevé"));
    txt_Commentaire_Relevé = named(new QPlainTextEdit, QStringLiteral("txt_Commentaire_Relevé"));
    auto* comment = new QVBoxLayout(fra_Commentaire_Relevé);
    comment->addWidget(txt_Commentaire_Relevé);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(fra_date);
    layout->addWidget(fra_Points_Météo);
    layout->addWidget(fra_Commentaire_Relevé, 1);
    return page;
}

void frm_Releve_SHOC::setUpWeatherGrid()
{
    Grid& g = flx_Date_Météo->grid();
    g.setRows(1);
    g.setFormatString(kWeatherHeader);
    g.setFixedRows(1);
    g.setFixedCols(1);
    for (int w = 0; w < record::kWeatherCount; ++w)
        g.setColEditList(kFirstWeatherColumn + w, kWeatherLists[w]);
    g.setEditable(Grid::Editable::KeyboardMouse);
}
