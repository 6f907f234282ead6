#!/usr/bin/python3
"""VTK drawing VELTRA's element segments of one frame offscreen: one polydata
of line cells through a 2-D mapper into a render window of the window's pixel
size, the points handed over anew every frame and the picture read back.
Needs an X display (run under xvfb-run).

usage: vtk_frame.py DUMP_FOLDER [FRAMES]"""
import sys

import numpy as np
import vtk
from vtk.util import numpy_support

import common


def main():
    dump = sys.argv[1]
    frames = int(sys.argv[2]) if len(sys.argv) > 2 else 20
    w, h, seg = common.load(dump)
    n = seg.shape[0]
    xyz = np.zeros((2 * n, 3), dtype=np.float32)
    points = vtk.vtkPoints()
    cells = vtk.vtkCellArray()
    connectivity = np.arange(2 * n, dtype=np.int64)
    offsets = np.arange(0, 2 * n + 1, 2, dtype=np.int64)
    cells.SetData(numpy_support.numpy_to_vtk(offsets, deep=True, array_type=vtk.VTK_ID_TYPE),
                  numpy_support.numpy_to_vtk(connectivity, deep=True, array_type=vtk.VTK_ID_TYPE))
    poly = vtk.vtkPolyData()
    poly.SetPoints(points)
    poly.SetLines(cells)
    mapper = vtk.vtkPolyDataMapper2D()
    mapper.SetInputData(poly)
    actor = vtk.vtkActor2D()
    actor.SetMapper(mapper)
    actor.GetProperty().SetColor(0.5, 0.0, 0.0)
    actor.GetProperty().SetLineWidth(1)
    renderer = vtk.vtkRenderer()
    renderer.SetBackground(1, 1, 1)
    renderer.AddActor2D(actor)
    window = vtk.vtkRenderWindow()
    window.SetOffScreenRendering(1)
    window.SetSize(w, h)
    window.AddRenderer(renderer)
    grab = vtk.vtkWindowToImageFilter()
    grab.SetInput(window)
    grab.ShouldRerenderOff()
    grab.ReadFrontBufferOff()

    def draw(_):
        xyz[:, :2] = seg.reshape(-1, 2)
        points.SetData(numpy_support.numpy_to_vtk(xyz, deep=True))
        poly.Modified()
        window.Render()
        grab.Modified()
        grab.Update()

    common.report("vtk-offscreen", draw, frames)


if __name__ == "__main__":
    main()
