#include "diagram/diagram_metrics.h"

void InitDiagramMetrics(TDiagramMetrics& metrics) { metrics = TDiagramMetrics{}; }

TDiagramMetrics& DiagramMetrics() {
  static TDiagramMetrics metrics;
  return metrics;
}

void InitDiagramMetrics() { InitDiagramMetrics(DiagramMetrics()); }
