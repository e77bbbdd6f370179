#include "tools/sample_layers.h"

namespace tools {

void writeNetworks(const SampleWorld& world, const SampleWriter& out) {
    SampleLayer rail = out.layer("42_railroad", engine::moShapeTypeLine, {textField("NAME", 40)});
    for (const auto& r : world.railways) rail.line(r.path, {r.name});
    rail.commit();
    SampleLayer roads = out.layer("43_roads", engine::moShapeTypeLine, {textField("NAME", 20)});
    for (const auto& r : world.roads) roads.line(r.path, {r.name});
    roads.commit();
    SampleLayer lines = out.layer("44_transmissionline", engine::moShapeTypeLine,
                                  {textField("NAME", 60), integerField("VOLTAGE", 6)});
    for (const auto& l : world.transmission) lines.line(l.path, {l.name, l.voltage});
    lines.commit();
}

}  // namespace tools
