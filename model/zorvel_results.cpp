// The table of the best systems after a run, and the HTML summaries of inputs and systems.
#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <algorithm>
#include <cmath>

#include "engine/types.h"
#include "model/conversions.h"
#include "model/cost_chart.h"
#include "model/frmZORVEL.h"
#include "model/frmZORVELSummary.h"
#include "model/waits.h"
#include "feedback/error_report.h"
#include "zorvel/project.h"

void frmZORVEL::clearResultRows() {
    for (int i = 0; i < 6; ++i) {
        cmdZORVEL_OR[i]->setEnabled(false);
        lblSystemType[i]->clear();
        lblSystemNPC[i]->clear();
        shpBar[i]->hide();
    }
    costAxis->setLargest(0);
    lblColourKey->clear();
}

void frmZORVEL::ProcessResults(zorvel::Project& project) {
    try {
        clearResultRows();
        SaveZORVELDoc(project);
        const int n = project.ResultCount(0);
        costs.assign(size_t(std::max(n, 0)), 0.0f);
        const int rows = std::min(n, 6);
        if (rows <= 0) {
            setMessage(QStringLiteral("Sorry, there were no feasible solutions"));
            return;
        }
        std::vector<std::pair<QColor, QString>> types;  // for the colour key, in row order
        for (int i = 0; i < rows; ++i) {
            const zorvel::Result result = project.GetResult(0, i);
            costs[size_t(i)] = result.NetPresentCost();
            lblSystemType[i]->setText(QString::fromStdString(project.DescribeSystem(result)));
            const QColor colour =
                engine::toQColor(project.SystemTypeColor(result.SystemTypeCode()));
            QPalette palette = shpBar[i]->palette();
            palette.setColor(QPalette::Window, colour);
            shpBar[i]->setPalette(palette);
            const QString type =
                QString::fromStdString(zorvel::Project::SystemTypeName(result.SystemTypeCode()));
            if (std::none_of(types.begin(), types.end(),
                             [&](const auto& t) { return t.second == type; }))
                types.emplace_back(colour, type);
            project.WriteSystemSummary(
                model::ToPath(documentsFolder + QStringLiteral("SystemSummary%1.html").arg(i)), result);
            if (i == 0 || costs[size_t(i)] > largestCost)
                largestCost = costs[size_t(i)];
            if (i == 0 || costs[size_t(i)] < smallestCost)
                smallestCost = costs[size_t(i)];
        }
        // Every bar grows from one baseline; the most expensive listed system has the full width.
        for (int i = 0; i < rows; ++i) {
            const double cost = costs[size_t(i)];
            lblSystemNPC[i]->setText(model::dollars(cost, 2));
            cmdZORVEL_OR[i]->setEnabled(true);
            barCells[i]->setShare(largestCost > 0 ? cost / largestCost : 0.0);
            shpBar[i]->show();
        }
        costAxis->setLargest(largestCost);
        lblColourKey->setText(model::colourKeyText(types));
        showMessages(false);
    } catch (const std::exception& e) {
        md_functions::ErrorMessage(
            QStringLiteral("Error while processing Zorvel results in frmZORVEL.ProcessResults.  Desc: ") +
                QString::fromUtf8(e.what()),
            48);
    }
}

void frmZORVEL::CreateInputSummary(zorvel::Project& project, bool showMessage) {
    try {
        if (showMessage) {
            setMessage(QStringLiteral("Creating Zorvel input summary."));
            repaint();
            model::Wait(500);
        }
        if (project.WriteInputSummary(model::ToPath(inputSummaryPath)) != 0)
            bInputSummaryCurrent = true;
    } catch (const std::exception& e) {
        md_functions::ErrorMessage(
            QStringLiteral("Error while processing Zorvel results in frmZORVEL.CreateInputSummary.  Desc: ") +
                QString::fromUtf8(e.what()),
            48);
    }
}

void frmZORVEL::cmdZORVEL_IR_Click() {
    UpdateZORVELFile();
    frmZORVELSummary& summary = summaryWindow();
    summary.setWindowTitle(QStringLiteral("Zorvel Input Summary"));
    if (!summary.isVisible())
        summary.show();
    summary.navigate(inputSummaryPath);
}

void frmZORVEL::cmdZORVEL_OR_Click(int index) {
    frmZORVELSummary& summary = summaryWindow();
    summary.setWindowTitle(QStringLiteral("Zorvel System Summary"));
    if (!summary.isVisible())
        summary.show();
    summary.navigate(documentsFolder + QStringLiteral("SystemSummary%1.html").arg(index));
}
