#pragma once

#include <QString>
#include <QStringList>

#include <random>

namespace belmo::demo {

// Deterministic random choices over Turkish names, places and goods, so that the demo
// company reads like a real one and every run of the generator gives the same data.
class Vocabulary {
public:
    explicit Vocabulary(unsigned seed) : rng_(seed) {}

    int between(int lo, int hi);                  // inclusive
    double money(double lo, double hi);           // rounded to kuruş
    double price(double lo, double hi);           // rounded to four decimals
    bool chance(double p);
    const QString& pick(const QStringList& list);

    QString personName();
    QString companyTitle();                       // "Yılmaz Gıda Pazarlama Ltd. Şti."
    QString foreignCompanyTitle();
    QString city();
    QString street();
    QString phone();
    QString taxNumber();
    QString bank();
    QString branch();

    static const QStringList& firstNames();
    static const QStringList& surnames();
    static const QStringList& cities();
    static const QStringList& banks();

private:
    std::mt19937 rng_;
};

}  // namespace belmo::demo
