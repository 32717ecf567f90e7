#include <benchmark/benchmark.h>

#include <muParser.h>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "calcformula.h"

namespace {

struct Formula {
  const char* key;
  std::u16string text;   // the calculator's syntax
  std::string muparser;  // the same computation in muparser's syntax
};

std::u16string Widen(const std::string& text) {
  return {text.begin(), text.end()};
}

// 200 characters of additions of numbers with decimals: 28 terms of 7 characters, then 4.
std::string Chain200() {
  std::string chain;
  for (int i = 0; i < 28; ++i) chain += std::to_string(100 + i * 7) + ".25+";
  return chain + "1000";
}

std::vector<Formula> Formulas() {
  const std::string column = "1250.50+380.25+99.99+1200+45.10+18.75+300+12.5+7.25+1000";
  const std::string chain = Chain200();
  return {
      {"plus", u"25+65", "25+65"},
      {"sums", u"SUM(1)+SUM(2)+278", "ROW(1)+ROW(2)+278"},
      {"sqr", u"SQR(16)*2.5-1.25", "sqrt(16)*2.5-1.25"},
      {"trig", u"SIN(30)+COS(60)", "SIND(30)+COSD(60)"},
      {"funcs", u"SIN(30)*COS(60)+SQR(16)^2", "SIND(30)*COSD(60)+sqrt(16)^2"},
      {"funcs6", u"SIN(30)*COS(60)+SQR(16)^2+LOG(100)+HCOS(0)+EXP(0)",
       "SIND(30)*COSD(60)+sqrt(16)^2+log10(100)+cosh(0)+exp(0)"},
      {"choice", u"[SUM(1)>SUM(2),SUM(1),SUM(2)]", "ROW(1)>ROW(2)?ROW(1):ROW(2)"},
      {"column", Widen(column), column},
      {"chain200", Widen(chain), chain},
  };
}

class BenchRows : public RowResults {
 public:
  double Result(int slot) const override { return 10.5 * (slot + 1); }
};

const BenchRows kRows;

double MuRow(double n) {
  return kRows.Result(static_cast<int>(std::fabs(n)) - 1);
}
double MuSinDegrees(double x) {
  return std::sin(x * 3.14159265358979 / 180);
}
double MuCosDegrees(double x) {
  return std::cos(x * 3.14159265358979 / 180);
}

void Engine(benchmark::State& state, const Formula& formula) {
  mdlCalcFunction calc(DateSettings{}, &kRows);
  for (auto _ : state) {
    benchmark::DoNotOptimize(calc.CalcFormula(formula.text));
  }
  if (calc.ErrorPos() != 0) state.SkipWithError("formula reported an error");
}

// The floor: only the numbers of the text, read with std::from_chars.
void FromChars(benchmark::State& state, const Formula& formula) {
  const std::string text(formula.text.begin(), formula.text.end());
  for (auto _ : state) {
    double sum = 0;
    const char* p = text.data();
    const char* end = p + text.size();
    while (p != end) {
      if ((*p >= '0' && *p <= '9') || *p == '.') {
        double value = 0;
        p = std::from_chars(p, end, value).ptr;
        sum += value;
      } else {
        ++p;
      }
    }
    benchmark::DoNotOptimize(sum);
  }
}

void MuParser(benchmark::State& state, const Formula& formula) {
  mu::Parser parser;
  parser.DefineFun("ROW", MuRow);
  parser.DefineFun("SIND", MuSinDegrees);
  parser.DefineFun("COSD", MuCosDegrees);
  for (auto _ : state) {
    parser.SetExpr(formula.muparser);
    benchmark::DoNotOptimize(parser.Eval());
  }
}

// Collects ns per iteration of every run, to print the ratios after the normal report.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    // With --benchmark_repetitions the median stands for the formula.
    for (const Run& run : runs) {
      if (run.error_occurred) continue;
      const std::string name = run.run_name.str();
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
        m_ns[name] = run.GetAdjustedCPUTime(), m_median.insert(name);
      else if (run.run_type == Run::RT_Iteration && !m_median.count(name))
        m_ns[name] = run.GetAdjustedCPUTime();
    }
  }
  double Ns(const std::string& name) const {
    const auto it = m_ns.find(name);
    return it == m_ns.end() ? NAN : it->second;
  }

 private:
  std::map<std::string, double> m_ns;
  std::set<std::string> m_median;
};

}  // namespace

int main(int argc, char** argv) {
  const std::vector<Formula> formulas = Formulas();
  // Same values from both evaluators, so that the comparison is of like with like.
  for (const Formula& f : formulas) {
    mdlCalcFunction calc(DateSettings{}, &kRows);
    mu::Parser parser;
    parser.DefineFun("ROW", MuRow);
    parser.DefineFun("SIND", MuSinDegrees);
    parser.DefineFun("COSD", MuCosDegrees);
    parser.SetExpr(f.muparser);
    const double ours = calc.CalcFormula(f.text);
    const double theirs = parser.Eval();
    if (calc.ErrorPos() != 0 || std::fabs(ours - theirs) > 1e-9 * std::fabs(theirs))
      std::fprintf(stderr, "%s: %.17g (error %d) vs muparser %.17g\n", f.key, ours, calc.ErrorPos(),
                   theirs);
  }

  for (const Formula& f : formulas) {
    benchmark::RegisterBenchmark((std::string("engine/") + f.key).c_str(), Engine, f);
    benchmark::RegisterBenchmark((std::string("from_chars/") + f.key).c_str(), FromChars, f);
    benchmark::RegisterBenchmark((std::string("muparser/") + f.key).c_str(), MuParser, f);
  }
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);

  std::printf("\nCPU ns per formula\n%-10s %6s %10s %10s %10s %12s %12s\n", "formula", "chars",
              "engine", "from_chars", "muparser", "from_chars/e", "muparser/e");
  for (const Formula& f : formulas) {
    const double engine = reporter.Ns(std::string("engine/") + f.key);
    const double floor = reporter.Ns(std::string("from_chars/") + f.key);
    const double mu = reporter.Ns(std::string("muparser/") + f.key);
    std::printf("%-10s %6zu %10.1f %10.1f %10.1f %12.2f %12.1f\n", f.key, f.text.size(), engine,
                floor, mu, floor / engine, mu / engine);
  }
  benchmark::Shutdown();
  return 0;
}
