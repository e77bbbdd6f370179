#pragma once
// A fresh main window with the model window attached, scripted message boxes, short waits and
// a documents folder of its own holding copies of the village templates.

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

#include "dataset/dataset_loading.h"
#include "shell/dataset_opening.h"
#include "mapview/map.h"
#include "model/attach.h"
#include "model/documents_folder.h"
#include "model/frmZORVEL.h"
#include "model/waits.h"
#include "feedback/dialog_service.h"
#include "shell/frmMain.h"
#include "tests/model/site_dataset.h"

class ModelWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        model::waitScale = 0.01;
        main = std::make_unique<frmMain>();
        model::attach(*main);
        main->Form_Load();
        // A map large enough that a click lands within a few map units of its point.
        main->resize(1600, 1000);
        main->show();
        docs = tmp.filePath("docs") + "/";
        QDir().mkpath(docs);
        const QDir shipped(QCoreApplication::applicationDirPath() + "/ZORVEL_docs");
        for (const QString& name : model::kTemplateFiles)
            QFile::copy(shipped.filePath(name), docs + name);
        window().documentsFolder = docs;
        window().inputSummaryPath = docs + "InputSummary.html";
    }

    void TearDown() override {
        main.reset();
        model::waitScale = 1.0;
    }

    frmZORVEL& window() { return model::zorvelWindow(*main); }

    void load(const QString& shapefile) {
        md_functions::LoadProject(QFileInfo(shapefile).fileName(), shapefile, *main->Map1,
                                  *main->legend);
        main->Map1->setExtent(kView);
    }

    // The Zorvel tool pressed on the map at that map point.
    void clickAt(const engine::Point& p) {
        main->optPanZoom[3]->click();
        const QPointF at = main->Map1->fromMapPoint(p);
        QTest::mouseClick(main->Map1, Qt::LeftButton, {}, at.toPoint());
    }

    void choose(int application) { window().cboZORVELApplication->setCurrentIndex(application); }

    // A loaded site dataset with site A clicked and an application chosen: ready to start.
    void readyToRun(int application) {
        load(model_test::writeSiteDataset(tmp.filePath("site"), model_test::Wind::Monthly));
        clickAt(model_test::kSiteA);
        choose(application);
        ASSERT_TRUE(window().cmdRunZORVEL->isEnabled()) << window().txtMessages->toPlainText().toStdString();
    }

    QString message() { return window().txtMessages->toPlainText(); }
    QColor messageColor() { return window().txtMessages->palette().color(QPalette::Text); }

    const engine::Rectangle kView{-5000, -10000, 45000, 20000};
    QTemporaryDir tmp;
    QString docs;
    feedback::ScopedScriptedDialogs dialogs;
    std::unique_ptr<frmMain> main;
};
