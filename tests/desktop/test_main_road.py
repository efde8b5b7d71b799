"""The main road on a real X server: a design file named on the command line, 計算する through its
access key, the report file dialog accepted, いいえ to starting the spreadsheet program; the report
is there, opens in LibreOffice, and holds the document's values."""
import glob
import os
import shutil
import subprocess
import unittest

import harness

SAVE_DIALOG_TITLE = harness.SAVE_DIALOG_TITLE
FINISHED_TITLE = "^計算が終了しました。$"  # the question whether to start the spreadsheet program
# One CSV file per sheet (the last field, -1), UTF-8 (76), comma separated, quoted text.
CSV_ALL_SHEETS = "csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,false,false,false,-1"


def sheets_as_text(workbook, folder):
    """Every sheet of the workbook as LibreOffice reads it: {sheet name: CSV text}."""
    profile = "file://" + os.path.join(folder, "lo-profile")
    subprocess.run(["soffice", f"-env:UserInstallation={profile}", "--headless", "--norestore",
                    "--convert-to", CSV_ALL_SHEETS, "--outdir", folder, workbook],
                   capture_output=True, timeout=harness.scaled(180))
    stem = os.path.splitext(os.path.basename(workbook))[0]
    sheets = {}
    for path in glob.glob(os.path.join(folder, f"{stem}-*.csv")):
        with open(path, encoding="utf-8") as f:
            sheets[os.path.basename(path)[len(stem) + 1:-4]] = f.read()
    return sheets


def rows(csv_text):
    """The CSV rows with the blank cells left out: [["管種・規格", "硬質ポリ塩化ビニル管 VU"], ...]."""
    return [[cell for cell in line.split(",") if cell] for line in csv_text.splitlines()]


class MainRoad(harness.DesktopTestCase):
    def test_a_design_file_calculates_to_a_report_holding_its_values(self):
        self.assertTrue(shutil.which("soffice"), "LibreOffice (soffice) is not installed")
        case = self.design_file("flexible")
        program = self.start_program(case)
        main = self.main_window(program)
        self.desktop.send_keys(main, "alt+c")  # 計算する(&C)
        dialog = self.desktop.wait_window(SAVE_DIALOG_TITLE)
        self.desktop.send_keys(dialog, "Return")  # the proposed name beside the design file
        question = self.desktop.wait_window(FINISHED_TITLE, timeout=120)
        report = os.path.join(self.work, "flexible.xlsx")
        self.assertTrue(os.path.isfile(report), os.listdir(self.work))
        self.desktop.send_keys(question, "alt+n")  # いいえ: the spreadsheet program is not started
        self.desktop.wait_gone(FINISHED_TITLE)
        self.assertTrue(program.running())
        self.desktop.send_keys(main, "alt+f", "x")
        self.assertEqual(program.wait(), 0)

        sheets = sheets_as_text(report, os.path.join(self.work, "csv"))
        self.assertIn("表紙", sheets, "LibreOffice opens the report")
        self.assertIn("試験用の設計ケース", sheets["表紙"], "the document's title on the cover")
        conditions = rows(sheets["設計条件"])
        # The design file's values, in the units and patterns of the report.
        for expected in (["管種・規格", "硬質ポリ塩化ビニル管 VU"], ["呼び径", "600", "mm"],
                         ["土かぶり", "Ｈ", "3.0000", "m"], ["管頂部溝幅", "1.0000", "m"],
                         ["設計支持角", "2θ", "120", "度"], ["自動車荷重（輪荷重規格）", "T-20"],
                         ["ブルドーザー規格", "11ton級"], ["キャタピラ数", "ｎ", "2", "本"],
                         ["静水圧", "Ｐs", "0.500", "MPa"], ["水撃圧", "Ｐw", "0.250", "MPa"]):
            # A row may begin with its group's caption ("管　体", "荷重条件").
            self.assertTrue(any(row[-len(expected):] == expected for row in conditions), expected)
        self.assertIn("3000.00", sheets["たわみ率計算"], "the document's e' in the deflection check")


if __name__ == "__main__":
    unittest.main()
