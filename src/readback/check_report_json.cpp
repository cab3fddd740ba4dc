// The check's report as JSON text (readback/look_check.h): the blocks, the damage, the fidelity
// figures and the one verdict, in the same words for every host.

#include <array>

#include "readback/json_text.h"
#include "readback/look_check.h"

namespace zel {

namespace {

void writeStats(JsonText& j, const char* name, const ErrorStats& s) {
    j.key(name).beginObject();
    j.field("samples", s.samples);
    j.key("codeValueMax").values(s.max);
    j.key("codeValueMean").values(s.mean);
    j.key("codeValueP99").values(s.p99);
    j.field("deltaE2000Max", s.deltaEMax);
    j.field("deltaE2000Mean", s.deltaEMean);
    j.field("deltaE2000P99", s.deltaE99);
    j.key("worstInput").values(s.worstInput);
    j.endObject();
}

void writeBlocks(JsonText& j, const BlockReport& report) {
    j.key("cubes").beginArray();
    for (const CubeFindings& c : report.cubes) {
        j.beginObject();
        j.field("pass", c.pass);
        j.field("grid", c.grid);
        j.key("domain").values(std::array<double, 2>{c.domainLow, c.domainHigh});
        j.field("positionsFromControlPage", c.positionsFromPage);
        j.field("readsAnotherGamut", c.movedGamut);
        j.key("shareAtBlack").values(c.atZero);
        j.key("shareAtFullScale").values(c.atFull);
        j.endObject();
    }
    j.endArray();
    j.key("luts").beginArray();
    for (const LutFindings& l : report.luts) {
        j.beginObject();
        j.field("pass", l.pass);
        j.field("name", l.name);
        j.field("memories", l.memories);
        j.field("monotonic", l.monotonic);
        if (!l.monotonic) {
            j.field("fall", l.fall);
        }
        j.endObject();
    }
    j.endArray();
    j.key("matrices").beginArray();
    for (const MatrixFindings& m : report.matrices) {
        j.beginObject();
        j.field("pass", m.pass);
        j.field("name", m.name);
        j.key("matrix").beginArray();
        for (const std::array<double, 3>& row : m.matrix) {
            j.values(row);
        }
        j.endArray();
        j.field("identity", m.identity);
        j.endObject();
    }
    j.endArray();
}

void writeFidelity(JsonText& j, const FidelityReport& fidelity) {
    j.key("fidelity").beginObject();
    j.key("passes").beginArray();
    for (const PassFidelity& p : fidelity.passes) {
        j.beginObject();
        j.field("pass", p.pass);
        j.field("inputSpace", p.inputSpace);
        j.key("domain").values(std::array<double, 2>{p.domainLow, p.domainHigh});
        j.field("randomColours", p.randomColours);
        j.field("outsideLook", p.outsideLook);
        writeStats(j, "cube", p.cube);
        writeStats(j, "inDomain", p.inDomain);
        writeStats(j, "outOfDomain", p.outOfDomain);
        writeStats(j, "nodes", p.nodes);
        j.field("readsAnotherGamut", p.otherGamut);
        j.field("nodeError", p.nodeError);
        j.key("worstNode").values(p.worstNode);
        j.key("limits").beginObject();
        j.field("deltaE2000P99", p.limits().p99);
        j.field("deltaE2000Max", p.limits().max);
        j.endObject();
        j.field("withinLimits", p.withinLimits());
        if (p.hasFallback) {
            writeStats(j, "fallback", p.fallback);
        }
        j.endObject();
    }
    j.endArray();
    j.field("withinLimits", fidelity.withinLimits());
    j.endObject();
}

}  // namespace

std::string checkJson(const CheckOutcome& outcome) {
    const BlockReport& report = outcome.report;
    const LookFacts& f = report.facts;
    JsonText j;
    j.beginObject();
    j.field("camera", f.model);
    j.field("layout", layoutName(f));
    j.field("source", sourceName(f.sourceEncoding));
    j.field("output", outputName(f.outputCurve, f.outputRange));
    j.field("gridSize", f.gridSize);
    j.field("damaged", report.damaged());
    j.key("problems").values(report.damage);
    j.field("lookWordsVerified", outcome.lookWordsVerified);
    j.field("clipping", report.clipping);
    writeBlocks(j, report);
    if (outcome.measured) {
        writeFidelity(j, outcome.fidelity);
    }
    j.field("verdict", outcome.verdict);
    j.field("sound", outcome.sound);
    j.endObject();
    return j.text();
}

}  // namespace zel
