"""Export a fitted two-class tree ensemble to ONNX in the engine's contract
and check the file with the ONNX Runtime version the application links.

Contract: one float32 input [batch, N]; output 0 the label (integer tensor,
1 = positive class); output 1 the class probabilities as a plain float32
tensor [batch, 2] (no dictionary output).
"""

import pathlib

import numpy as np
import onnx
import onnxruntime
from skl2onnx import convert_sklearn
from skl2onnx.common.data_types import FloatTensorType

# ONNX Runtime 1.21 reads up to IR version 10; keep the opsets it supports.
TARGET_OPSET = {"": 17, "ai.onnx.ml": 3}
IR_VERSION = 8


def export_model(model, feature_count, path):
    onx = convert_sklearn(
        model,
        # A fixed graph name keeps the file byte for byte reproducible.
        name=pathlib.Path(path).stem,
        initial_types=[("input", FloatTensorType([None, feature_count]))],
        options={id(model): {"zipmap": False}},
        target_opset=TARGET_OPSET,
    )
    onx.ir_version = IR_VERSION
    onnx.checker.check_model(onx)
    with open(path, "wb") as f:
        f.write(onx.SerializeToString())


def verify_model(model, path, X):
    """Run the exported file on X one row at a time, as the engine does, and
    compare with scikit-learn. Returns the largest probability difference."""
    options = onnxruntime.SessionOptions()
    options.intra_op_num_threads = 1
    options.graph_optimization_level = onnxruntime.GraphOptimizationLevel.ORT_ENABLE_ALL
    session = onnxruntime.InferenceSession(path, options, providers=["CPUExecutionProvider"])
    inputs = session.get_inputs()
    outputs = session.get_outputs()
    if len(inputs) != 1 or inputs[0].type != "tensor(float)" or inputs[0].shape[1] != X.shape[1]:
        raise SystemExit(f"{path}: input is not float32 [*, {X.shape[1]}]")
    if len(outputs) < 2 or outputs[0].type not in ("tensor(int64)", "tensor(int32)") \
            or outputs[1].type != "tensor(float)":
        raise SystemExit(f"{path}: outputs are not (integer label, float probabilities)")
    X32 = X.astype(np.float32)
    expected = model.predict_proba(X32)[:, 1]
    worst = 0.0
    for row, want in zip(X32, expected):
        label, probabilities = session.run(None, {inputs[0].name: row[None, :]})[:2]
        if probabilities.shape != (1, 2):
            raise SystemExit(f"{path}: probabilities have shape {probabilities.shape}, not (1, 2)")
        p = float(probabilities[0, 1])
        if not 0.0 <= p <= 1.0 or int(label[0]) not in (0, 1):
            raise SystemExit(f"{path}: label {label[0]} or probability {p} out of range")
        worst = max(worst, abs(p - want))
    if worst > 1e-4:
        raise SystemExit(f"{path}: ONNX Runtime differs from scikit-learn by {worst}")
    return worst
