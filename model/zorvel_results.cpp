// The table of the best systems after a run, and the HTML summaries of inputs and systems.
#include <QFrame>
#include <QLabel>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <algorithm>
#include <cmath>

#include "engine/types.h"
#include "model/conversions.h"
#include "model/frmZORVEL.h"
#include "model/frmZORVELSummary.h"
#include "model/waits.h"
#include "shell/error_report.h"
#include "zorvel/project.h"

void frmZORVEL::clearResultRows() {
    for (int i = 0; i < 6; ++i) {
        cmdZORVEL_OR[i]->setEnabled(false);
        lblSystemType[i]->clear();
        lblSystemNPC[i]->clear();
        shpBar[i]->hide();
    }
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
        for (int i = 0; i < rows; ++i) {
            const zorvel::Result result = project.GetResult(0, i);
            costs[size_t(i)] = result.NetPresentCost();
            lblSystemType[i]->setText(QString::fromStdString(project.DescribeSystem(result)));
            QPalette palette = shpBar[i]->palette();
            palette.setColor(QPalette::Window,
                             engine::toQColor(project.SystemTypeColor(result.SystemTypeCode())));
            shpBar[i]->setPalette(palette);
            project.WriteSystemSummary(
                model::ToPath(documentsFolder + QStringLiteral("SystemSummary%1.html").arg(i)), result);
            if (i == 0 || costs[size_t(i)] > largestCost)
                largestCost = costs[size_t(i)];
            if (i == 0 || costs[size_t(i)] < smallestCost)
                smallestCost = costs[size_t(i)];
        }
        // The designed width of the bars, not the last run's width of the sixth one, so that a
        // shorter list never shrinks the scale for the runs after it.
        const double full = kFullBarWidth;
        const QLocale locale;
        for (int i = 0; i < rows; ++i) {
            const double cost = costs[size_t(i)];
            lblSystemNPC[i]->setText(locale.toCurrencyString(cost, locale.currencySymbol(), 2));
            cmdZORVEL_OR[i]->setEnabled(true);
            const double width = largestCost > 0 ? std::nearbyint(cost / largestCost * full) : 0.0;
            shpBar[i]->resize(int(std::clamp(width, 0.0, full)), shpBar[i]->height());
            shpBar[i]->show();
        }
        txtMessages->hide();
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
