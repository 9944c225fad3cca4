"""Small ONNX models with known answers for the predictor's unit tests.

    python make_test_models.py OUT_DIR

stump.onnx: 3 float inputs; feature 0 above 0.5 gives label 1 with
probability 0.75, otherwise label 0 with probability 0. label_only.onnx: the
same model without its probability output.
"""

import pathlib
import sys

import numpy as np
import onnx
from sklearn.tree import DecisionTreeClassifier

import export


def main():
    out = pathlib.Path(sys.argv[1])
    out.mkdir(parents=True, exist_ok=True)
    X = np.array([[0, 0, 0], [0, 1, 0], [0, 0, 1], [0, 1, 1],
                  [1, 0, 0], [1, 1, 0], [1, 0, 1], [1, 1, 1]], dtype=np.float32)
    y = np.array([0, 0, 0, 0, 1, 1, 1, 0])
    stump = DecisionTreeClassifier(max_depth=1, random_state=0).fit(X, y)
    assert np.allclose(stump.predict_proba(X)[:, 1], [0, 0, 0, 0, 0.75, 0.75, 0.75, 0.75])

    stump_path = out / "stump.onnx"
    export.export_model(stump, 3, str(stump_path))
    export.verify_model(stump, str(stump_path), X)

    label_only = onnx.load(str(stump_path))
    del label_only.graph.output[1:]
    onnx.checker.check_model(label_only)
    onnx.save(label_only, str(out / "label_only.onnx"))


if __name__ == "__main__":
    main()
