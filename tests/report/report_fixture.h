#pragma once
// Design cases for the report tests: one complete design record with its calculated result,
// and ways to vary the few members that decide the report's sheets.
#include "app/calc_settings.h"
#include "app/design_data.h"
#include "calc/calc_result.h"
#include "platform/ole_date.h"

namespace tovakin::testing {

struct ReportCase {
  DesignData design;
  CalcResult result;
};

// A flexible pipe on free support in a trench, cover above He: the report with every section.
inline ReportCase largestCase() {
  ReportCase c;
  DesignData& d = c.design;
  d.dataTag = "Tovakin_A_1_00_00";
  d.keisanshoTitle = "　○○地区 幹線水路 ";
  d.updateDate = toOleDate(LocalDateTime{2026, 3, 5, 14, 30, 0});
  d.kanshu = "強化プラスチック複合管 ";
  d.kikaku = "JIS A 5350";
  d.yobikei = "300";
  d.gaikei = 0.3248;
  d.kanatu = 0.0146;
  d.naikei = 0.2956;
  d.chushinHankei = 0.1551;
  d.kanatuKeisan = 0.015;
  d.naikeiKeisan = 0.2948;
  d.kisoKeishiki = 0;
  d.shijikaku = 90;
  d.dokaburi = 1.2;
  d.mizohaba = 0.85;
  d.maisetuKeishiki = 0;
  d.tuchiTanniJuryo = 18;
  d.naibuMasatukaku = 30;
  d.kajuJoken = 25;
  d.howadoTanniJuryo = 20;
  d.chinkahi = 0.5;
  d.doroJoken = 1;
  d.josaiKajuMeisho = "群集荷重";
  d.josaiKaju = "10";
  d.buruJoken = 11;
  d.kyatapiraSu = 2;
  d.sekojiShogekiKeisu = 0.3;
  d.seisuiatu = 0.5;
  d.suigekiatu = 0.25;
  d.kanzaiKubun = 3;
  d.mizuTanniJuryo = 9.8;
  d.hanryokuKeisu = 5000;
  d.hanryokuKeisuHoho = 0;
  d.henkeiOkureF1 = 1.5;
  d.henkeiOkureF2 = 1.0;
  d.sekkeiTawamiritu = 5;

  CalcResult& r = c.result;
  r.kanzaiKubun = 3;
  r.kanzaiTanniJuryo = 19.6;
  r.he = 0.8;
  r.sekkeiSuiatu = 0.75;
  r.keisuK = 0.0;
  r.keisuKo = 0.0;
  r.keisuKp = 0.0;
  return c;
}

}  // namespace tovakin::testing
