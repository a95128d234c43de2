// SPDX-License-Identifier: MIT
// SPDX-FileCopyrightText: 2026 The RV patient client developers
#include "service/rvservicedemodata.h"

#include <QHash>
#include <QSet>

using namespace Qt::StringLiterals;

namespace
{
// Characters of the names, each with the initial of its reading.
const QString surnames =
    u"王李张刘陈杨黄赵吴周徐孙马朱胡郭何高林罗郑梁谢宋唐许韩冯邓曹彭肖田董潘袁蔡蒋余杜叶程魏苏吕丁沈任"_s;
const QString surnameInitials = u"WLZLCYHZWZXSMZHGHGLLZLXSTXHFDCPXTDPYCJYDYCWSLDSR"_s;
const QString maleGiven = u"伟强磊军勇杰涛明超刚平辉斌鹏浩宇博凯建国志文海峰东华振立"_s;
const QString maleInitials = u"WQLJYJTMCGPHBPHYBKJGZWHFDHZL"_s;
const QString femaleGiven = u"芳敏静丽艳娟霞秀玲燕红梅琳雪慧颖婷倩欣佳莉萍洁蓉晶璐"_s;
const QString femaleInitials = u"FMJLYJXXLYHMLXHYTQXJLPJRJL"_s;

struct StandardDepartment {
    QString code, name, description;
    QStringList specialities;
};

const QList<StandardDepartment> &standardDepartments()
{
    static const QList<StandardDepartment> all{
        {u"0101"_s,
         u"心血管内科"_s,
         u"诊治各类心脏及血管疾病。"_s,
         {u"冠心病"_s, u"高血压"_s, u"心律失常"_s, u"心力衰竭"_s}},
        {u"0102"_s,
         u"呼吸内科"_s,
         u"诊治肺部及气道疾病。"_s,
         {u"慢性阻塞性肺病"_s, u"支气管哮喘"_s, u"肺部感染"_s, u"肺结节"_s}},
        {u"0103"_s,
         u"消化内科"_s,
         u"诊治胃肠、肝胆及胰腺疾病。"_s,
         {u"胃炎"_s, u"消化性溃疡"_s, u"脂肪肝"_s, u"肠易激综合征"_s}},
        {u"0104"_s,
         u"神经内科"_s,
         u"诊治脑血管病及神经系统疾病。"_s,
         {u"脑梗死"_s, u"头痛"_s, u"癫痫"_s, u"帕金森病"_s}},
        {u"0105"_s,
         u"内分泌科"_s,
         u"诊治代谢及内分泌疾病。"_s,
         {u"糖尿病"_s, u"甲状腺疾病"_s, u"骨质疏松"_s, u"痛风"_s}},
        {u"0106"_s,
         u"肾内科"_s,
         u"诊治肾脏疾病。"_s,
         {u"慢性肾病"_s, u"肾炎"_s, u"尿路感染"_s, u"血液透析"_s}},
        {u"0201"_s,
         u"普通外科"_s,
         u"开展腹部及体表外科手术。"_s,
         {u"胆结石"_s, u"疝气"_s, u"甲状腺结节"_s, u"阑尾炎"_s}},
        {u"0202"_s,
         u"骨科"_s,
         u"诊治骨与关节疾病及创伤。"_s,
         {u"骨折"_s, u"腰椎间盘突出"_s, u"关节置换"_s, u"运动损伤"_s}},
        {u"0203"_s,
         u"神经外科"_s,
         u"开展脑与脊髓外科手术。"_s,
         {u"颅脑外伤"_s, u"脑肿瘤"_s, u"脑出血"_s, u"脊髓病变"_s}},
        {u"0204"_s,
         u"泌尿外科"_s,
         u"诊治泌尿系统及男性生殖系统疾病。"_s,
         {u"泌尿系结石"_s, u"前列腺增生"_s, u"肾囊肿"_s, u"膀胱疾病"_s}},
        {u"0205"_s,
         u"胸外科"_s,
         u"开展肺、食管及纵隔手术。"_s,
         {u"肺癌"_s, u"食管疾病"_s, u"气胸"_s, u"纵隔肿瘤"_s}},
        {u"0301"_s,
         u"妇科"_s,
         u"诊治女性生殖系统疾病。"_s,
         {u"子宫肌瘤"_s, u"卵巢囊肿"_s, u"宫颈疾病"_s, u"月经失调"_s}},
        {u"0302"_s,
         u"产科"_s,
         u"提供孕期保健及分娩服务。"_s,
         {u"孕期保健"_s, u"高危妊娠"_s, u"产后康复"_s, u"妊娠期糖尿病"_s}},
        {u"0303"_s,
         u"生殖医学科"_s,
         u"诊治不孕不育。"_s,
         {u"不孕症"_s, u"辅助生殖"_s, u"多囊卵巢综合征"_s, u"复发性流产"_s}},
        {u"0401"_s,
         u"小儿内科"_s,
         u"诊治儿童常见内科疾病。"_s,
         {u"小儿发热"_s, u"小儿咳嗽"_s, u"小儿腹泻"_s, u"生长发育"_s}},
        {u"0402"_s,
         u"新生儿科"_s,
         u"诊治新生儿疾病。"_s,
         {u"新生儿黄疸"_s, u"早产儿管理"_s, u"新生儿肺炎"_s, u"喂养问题"_s}},
        {u"0403"_s,
         u"小儿外科"_s,
         u"开展儿童外科手术。"_s,
         {u"小儿疝气"_s, u"包茎"_s, u"先天畸形"_s, u"小儿骨折"_s}},
        {u"0501"_s,
         u"眼科"_s,
         u"诊治眼部疾病及视力问题。"_s,
         {u"白内障"_s, u"青光眼"_s, u"近视"_s, u"眼底病"_s}},
        {u"0502"_s,
         u"耳鼻咽喉科"_s,
         u"诊治耳、鼻、咽喉疾病。"_s,
         {u"鼻炎"_s, u"鼻窦炎"_s, u"中耳炎"_s, u"咽喉炎"_s}},
        {u"0503"_s,
         u"口腔科"_s,
         u"诊治牙齿及口腔疾病。"_s,
         {u"龋齿"_s, u"牙周病"_s, u"口腔溃疡"_s, u"牙齿矫正"_s}},
        {u"0601"_s,
         u"中医内科"_s,
         u"以中医辨证论治内科杂病。"_s,
         {u"失眠"_s, u"脾胃病"_s, u"亚健康调理"_s, u"咳嗽"_s}},
        {u"0602"_s,
         u"针灸科"_s,
         u"以针灸治疗痛症及神经疾病。"_s,
         {u"颈肩腰腿痛"_s, u"面瘫"_s, u"中风后遗症"_s, u"偏头痛"_s}},
        {u"0603"_s,
         u"推拿科"_s,
         u"以推拿手法治疗筋骨疾病。"_s,
         {u"颈椎病"_s, u"腰肌劳损"_s, u"肩周炎"_s, u"小儿推拿"_s}},
    };
    return all;
}

struct DepartmentClass {
    QString code, name;
};
const QList<DepartmentClass> classes{{u"01"_s, u"内科"_s},   {u"02"_s, u"外科"_s},
                                     {u"03"_s, u"妇产科"_s}, {u"04"_s, u"儿科"_s},
                                     {u"05"_s, u"五官科"_s}, {u"06"_s, u"中医科"_s}};

// Which standard departments each hospital runs, in the order of the hospitals.
const QList<QStringList> hospitalDepartments{
    {u"0101"_s, u"0102"_s, u"0103"_s, u"0104"_s, u"0105"_s, u"0106"_s, u"0201"_s, u"0202"_s,
     u"0203"_s, u"0204"_s, u"0301"_s, u"0302"_s, u"0401"_s, u"0501"_s, u"0502"_s, u"0503"_s},
    {u"0101"_s, u"0102"_s, u"0103"_s, u"0104"_s, u"0105"_s, u"0106"_s, u"0201"_s, u"0202"_s,
     u"0203"_s, u"0204"_s, u"0205"_s, u"0301"_s, u"0303"_s, u"0501"_s, u"0502"_s},
    {u"0601"_s, u"0602"_s, u"0603"_s, u"0103"_s, u"0104"_s, u"0202"_s, u"0301"_s},
    {u"0301"_s, u"0302"_s, u"0303"_s, u"0401"_s, u"0402"_s},
    {u"0401"_s, u"0402"_s, u"0403"_s, u"0501"_s, u"0502"_s},
    {u"0101"_s, u"0102"_s, u"0103"_s, u"0201"_s, u"0202"_s, u"0301"_s, u"0401"_s, u"0503"_s},
};

// SplitMix64: a small, fully specified generator, so the data do not depend on a library's
// choice of algorithm.
quint64 mix(quint64 x)
{
    x += 0x9e3779b97f4a7c15ULL;
    x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ULL;
    x = (x ^ (x >> 27)) * 0x94d049bb133111ebULL;
    return x ^ (x >> 31);
}

quint64 textHash(const QString &text)
{
    quint64 h = 1469598103934665603ULL; // FNV-1a
    for (const QChar c : text) {
        h ^= c.unicode();
        h *= 1099511628211ULL;
    }
    return h;
}

const StandardDepartment &standard(const QString &code)
{
    for (const StandardDepartment &d : standardDepartments())
        if (d.code == code)
            return d;
    return standardDepartments().constFirst();
}
} // namespace

QList<RVServiceDemoData::Hospital> RVServiceDemoData::hospitals()
{
    return {
        {u"H01"_s, u"滨江市第一人民医院"_s, u"市一医院"_s, u"三级甲等"_s,
         u"滨江市第一人民医院始建于1952年，是一所集医疗、教学、科研、预防为一体的综合性医院，开放床位1800张，年门诊量逾200万人次。心血管内科、神经外科为省级重点学科。"_s,
         u"滨江市江南区人民路168号"_s, u"0570-86120000"_s, u"120.2135"_s, u"30.2512"_s},
        {u"H02"_s, u"滨江医科大学附属医院"_s, u"医大附院"_s, u"三级甲等"_s,
         u"滨江医科大学附属医院是大学直属的临床医学院，拥有国家级临床重点专科3个，胸外科与内分泌科在区域内享有盛誉，承担大量疑难重症的诊治工作。"_s,
         u"滨江市高新区学院路9号"_s, u"0570-86310000"_s, u"120.1578"_s, u"30.2731"_s},
        {u"H03"_s, u"滨江市中医院"_s, u"市中医院"_s, u"三级甲等"_s,
         u"滨江市中医院以中医药特色见长，针灸、推拿与中医内科历史悠久，坚持中西医结合，设有名老中医工作室和治未病中心。"_s,
         u"滨江市老城区青石街45号"_s, u"0570-86550000"_s, u"120.1820"_s, u"30.2396"_s},
        {u"H04"_s, u"滨江市妇幼保健院"_s, u"市妇幼"_s, u"三级乙等"_s,
         u"滨江市妇幼保健院专注妇女儿童健康，提供孕前咨询、产前检查、分娩、新生儿护理及生殖医学服务，是全市危重孕产妇救治中心。"_s,
         u"滨江市江北区明珠路310号"_s, u"0570-86780000"_s, u"120.2301"_s, u"30.2893"_s},
        {u"H05"_s, u"滨江市儿童医院"_s, u"市儿童医院"_s, u"三级甲等"_s,
         u"滨江市儿童医院是全市唯一的三级儿童专科医院，设有儿童急诊、新生儿重症监护和小儿外科，为十四岁以下儿童提供全面诊疗。"_s,
         u"滨江市江北区新华路72号"_s, u"0570-86920000"_s, u"120.2417"_s, u"30.2955"_s},
        {u"H06"_s, u"滨江市第三人民医院"_s, u"市三医院"_s, u"二级甲等"_s,
         u"滨江市第三人民医院立足临江新区，以常见病、多发病诊治为主，口腔科与骨科深受周边居民信赖，交通便利，就诊环境舒适。"_s,
         u"滨江市临江区东湖路3号"_s, u"0570-87050000"_s, u"120.3056"_s, u"30.2208"_s},
    };
}

QList<RVServiceDemoData::Department> RVServiceDemoData::departments()
{
    QList<Department> all;
    int sort = 0;
    for (const DepartmentClass &c : classes)
        all.append({u"K"_s + c.code, u"0"_s, {}, c.code, c.name, {}, ++sort});
    for (const StandardDepartment &d : standardDepartments())
        all.append(
            {u"S"_s + d.code, u"K"_s + d.code.left(2), {}, d.code, d.name, d.description, ++sort});
    const QList<Hospital> places = hospitals();
    for (qsizetype h = 0; h < places.size(); ++h) {
        for (const QString &code : hospitalDepartments.at(h)) {
            const StandardDepartment &d = standard(code);
            all.append({places.at(h).hospid + u'-' + code, u"K"_s + code.left(2),
                        places.at(h).hospid, code, d.name, d.description, ++sort});
        }
    }
    return all;
}

QList<RVServiceDemoData::Doctor> RVServiceDemoData::doctors()
{
    static const QStringList titles{u"主任医师"_s, u"副主任医师"_s, u"主治医师"_s};
    static const QStringList fees{u"50.00"_s, u"30.00"_s, u"15.00"_s};
    static const QStringList degrees{u"医学博士"_s, u"医学硕士"_s, u"医学学士"_s};
    QList<Doctor> all;
    QSet<QString> names;
    quint64 state = 20260101;
    const QList<Hospital> places = hospitals();
    for (qsizetype h = 0; h < places.size(); ++h) {
        const QStringList &codes = hospitalDepartments.at(h);
        for (qsizetype k = 0; k < codes.size(); ++k) {
            const StandardDepartment &dept = standard(codes.at(k));
            const int count = (h < 2 && k < 5) ? 3 : 2;
            for (int rank = 0; rank < count; ++rank) {
                Doctor d;
                QString name;
                QString pym;
                bool female = false;
                do { // draw until the name is new
                    state = mix(state);
                    female = (state >> 3) % 2 == 1;
                    const QString &given = female ? femaleGiven : maleGiven;
                    const QString &givenInitials = female ? femaleInitials : maleInitials;
                    const auto s = static_cast<qsizetype>((state >> 8) % surnames.size());
                    const auto g1 = static_cast<qsizetype>((state >> 20) % given.size());
                    const auto g2 = static_cast<qsizetype>((state >> 32) % given.size());
                    const bool twoChars = (state >> 44) % 3 != 0;
                    name = surnames.at(s) + given.at(g1) +
                           (twoChars ? QString(given.at(g2)) : QString());
                    pym = surnameInitials.at(s) + givenInitials.at(g1) +
                          (twoChars ? QString(givenInitials.at(g2)) : QString());
                } while (names.contains(name));
                names.insert(name);
                const int years = 8 + static_cast<int>((state >> 50) % 10) + (2 - rank) * 8;
                const QString first = dept.specialities.at((rank + h) % 4);
                const QString second = dept.specialities.at((rank + h + 1) % 4);
                d.ysdm = u"D%1"_s.arg(static_cast<int>(all.size() + 1), 4, 10, QLatin1Char('0'));
                d.hospid = places.at(h).hospid;
                d.deptid = places.at(h).hospid + u'-' + dept.code;
                d.ysmc = name;
                d.ysxb = female ? u"女"_s : u"男"_s;
                d.yszc = titles.at(rank);
                d.ysxl = degrees.at(rank);
                d.ysjl = u"从事%1临床工作%2年"_s.arg(dept.name).arg(years);
                d.ysjs =
                    u"%1，%2，%3。毕业于滨江医科大学，从事%4临床工作%5年，对%6、%7的诊治有丰富经验。"_s
                        .arg(name, titles.at(rank), degrees.at(rank), dept.name)
                        .arg(years)
                        .arg(first, second);
                d.scjb = u"擅长：%1、%2"_s.arg(first, second);
                d.pym = pym;
                d.ghf = fees.at(rank);
                d.sort = static_cast<int>(all.size() + 1);
                all.append(d);
            }
        }
    }
    return all;
}

RVServiceDemoData::HalfDay RVServiceDemoData::halfDay(const QString &ysdm, QDate day, int bcbm)
{
    const quint64 h = mix(textHash(ysdm) ^ (static_cast<quint64>(day.toJulianDay()) * 31 + bcbm));
    const bool weekend = day.dayOfWeek() >= 6;
    HalfDay half;
    half.held = static_cast<int>(h % 100) < (weekend ? 20 : 50);
    if (!half.held)
        return half;
    half.jlzt = (h >> 12) % 12 == 0 ? 1 : 0;
    half.kyrs = (h >> 24) % 7 == 0 ? 0 : static_cast<int>(slotTimes(bcbm).size());
    return half;
}

QStringList RVServiceDemoData::slotTimes(int bcbm)
{
    QStringList times;
    QTime at = bcbm == 1 ? QTime(8, 0) : QTime(14, 0);
    const QTime end = bcbm == 1 ? QTime(11, 30) : QTime(16, 30);
    for (; at <= end; at = at.addSecs(30 * 60))
        times.append(at.toString(u"HH:mm"_s));
    return times;
}

QString RVServiceDemoData::pbid(const QString &ysdm, QDate day, int bcbm)
{
    return u"%1-%2-%3"_s.arg(ysdm, day.toString(u"yyyyMMdd"_s)).arg(bcbm);
}

QString RVServiceDemoData::initials(const QString &name)
{
    static const QHash<QChar, QChar> table = [] {
        QHash<QChar, QChar> t;
        const auto add = [&t](const QString &chars, const QString &letters) {
            for (qsizetype i = 0; i < chars.size(); ++i)
                t.insert(chars.at(i), letters.at(i));
        };
        add(surnames, surnameInitials);
        add(maleGiven, maleInitials);
        add(femaleGiven, femaleInitials);
        return t;
    }();
    QString out;
    for (const QChar c : name)
        if (table.contains(c))
            out.append(table.value(c));
    return out;
}
