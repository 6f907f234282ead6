#!/usr/bin/python3
"""veltra-export --vtk read back with VTK's own readers (Debian's
python3-vtk9): the .pvd with vtkXMLDataParser, each .vtu with
vtkXMLUnstructuredGridReader. Points, cells, displacements, element records
and times must be those veltra-info prints for the same steps.

usage: vtk_read_back.py VELTRA_SAMPLE VELTRA_EXPORT VELTRA_INFO"""
import json
import os
import subprocess
import sys
import tempfile

import numpy
from vtkmodules.util.numpy_support import vtk_to_numpy
from vtkmodules.vtkCommonCore import vtkFileOutputWindow, vtkOutputWindow
from vtkmodules.vtkIOXML import vtkXMLUnstructuredGridReader
from vtkmodules.vtkIOXMLParser import vtkXMLDataParser

SAMPLE, EXPORT, INFO = sys.argv[1:4]
VTK_LINE, VTK_EMPTY_CELL = 3, 0

# (sample and its options, the export's step options, the steps they draw).
# The grid's steps are large enough (1.4 MB of el.unf each) for the export
# to read each next step's element records on its helper thread.
CASES = [
    (["portal"], ["--start-step", "10", "--end-step", "40", "--step-frequency", "15"], [10, 25, 40]),
    (["space"], ["--end-step", "9", "--step-frequency", "3"], [0, 3, 6, 9]),
    (["cantilever"], ["--end-step", "12", "--step-frequency", "4", "--frame", "2"], [8]),
    (["grid", "--nodes", "5000"], ["--end-step", "20", "--step-frequency", "5"], [0, 5, 10, 15, 20]),
]

failures = []


def check(condition, what):
    if not condition:
        failures.append(what)


def info(folder, *args):
    return json.loads(subprocess.run([INFO, folder, *args], check=True, capture_output=True, text=True).stdout)


def f32(values):
    return numpy.asarray(values, dtype=numpy.float32)


def main():
    with tempfile.TemporaryDirectory() as scratch:
        # Errors of VTK's readers go to a file that must stay empty.
        log = os.path.join(scratch, "vtk-errors.txt")
        window = vtkFileOutputWindow()
        window.SetFileName(log)
        vtkOutputWindow.SetInstance(window)
        for sample, options, steps in CASES:
            kind = sample[0]
            folder = os.path.join(scratch, kind)
            subprocess.run([SAMPLE, "--kind", *sample, "--steps", "40", folder], check=True, capture_output=True)
            pvd = os.path.join(scratch, "out", kind + ".pvd")
            os.makedirs(os.path.dirname(pvd), exist_ok=True)
            subprocess.run([EXPORT, folder, "--vtk", pvd, "--quiet", *options], check=True)
            model = info(folder, "--tables")
            ngl, nodes, elements = model["NGL"], model["node_count"], model["element_count"]
            coords = numpy.zeros((nodes, 3), dtype=numpy.float32)
            coords[:, :ngl] = f32(model["node_coords"])

            parser = vtkXMLDataParser()
            parser.SetFileName(pvd)
            check(parser.Parse() == 1, f"{pvd}: not read")
            collection = parser.GetRootElement().GetNestedElement(0)
            datasets = [collection.GetNestedElement(i) for i in range(collection.GetNumberOfNestedElements())]
            check(len(datasets) == len(steps), f"{kind}: {len(datasets)} data sets for steps {steps}")
            for dataset, step in zip(datasets, steps):
                name = f"{kind} step {step}"
                record = info(folder, "--step", str(step))
                check(f32(float(dataset.GetAttribute("timestep"))) == f32(record["step_time"]), f"{name}: time")
                reader = vtkXMLUnstructuredGridReader()
                reader.SetFileName(os.path.join(os.path.dirname(pvd), dataset.GetAttribute("file")))
                reader.Update()
                grid = reader.GetOutput()
                check(grid.GetNumberOfPoints() == nodes and grid.GetNumberOfCells() == elements,
                      f"{name}: {grid.GetNumberOfPoints()} points, {grid.GetNumberOfCells()} cells")
                if grid.GetNumberOfPoints() != nodes or grid.GetNumberOfCells() != elements:
                    continue
                check(numpy.array_equal(vtk_to_numpy(grid.GetPoints().GetData()), coords), f"{name}: points")
                for e in range(elements):
                    cell = grid.GetCell(e)
                    ends = (model["element_node1"][e], model["element_node2"][e])
                    if min(ends) >= 1:
                        ids = [cell.GetPointId(i) for i in range(cell.GetNumberOfPoints())]
                        check(cell.GetCellType() == VTK_LINE and ids == [ends[0] - 1, ends[1] - 1],
                              f"{name}: cell {e} {ids} for element ends {ends}")
                    else:
                        check(cell.GetCellType() == VTK_EMPTY_CELL, f"{name}: cell {e} not empty")
                displacement = numpy.zeros((nodes, 3), dtype=numpy.float32)
                displacement[:, :ngl] = f32(record["displacements"])
                point_data, cell_data = grid.GetPointData(), grid.GetCellData()
                check(numpy.array_equal(vtk_to_numpy(point_data.GetArray("Displacement")), displacement),
                      f"{name}: Displacement")
                check(numpy.array_equal(vtk_to_numpy(cell_data.GetArray("ElementValue")),
                                        f32(record["element_value"])), f"{name}: ElementValue")
                check(numpy.array_equal(vtk_to_numpy(cell_data.GetArray("ElementCode")),
                                        numpy.asarray(record["element_code"], dtype=numpy.int32)),
                      f"{name}: ElementCode")
        errors = open(log).read() if os.path.exists(log) else ""
        check(errors == "", "VTK reported: " + errors[:400])
    for failure in failures:
        print("FAILED:", failure)
    print(f"{len(CASES)} series read back, {len(failures)} failures")
    return 1 if failures else 0


sys.exit(main())
