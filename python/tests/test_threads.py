"""Threads change no result: equatings on a thread pool (the GIL released
while each computes) equal a serial loop, and threads=3 equals threads=1.
Ctrl-C during the draws stops the run cleanly."""

import os
import signal
import threading
import warnings
from concurrent.futures import ThreadPoolExecutor

import pytest

import irteq
from conftest import EXAMPLE, LINKED, assert_equatings_identical, read_inputs


@pytest.fixture(scope="module")
def inputs():
    with warnings.catch_warnings():
        warnings.simplefilter("ignore", irteq.InputWarning)
        return read_inputs(EXAMPLE / "control.txt")


def test_a_thread_pool_of_equatings_equals_a_serial_loop(inputs):
    weights = [0.1 * k for k in range(1, 9)]

    def run(w2):
        with warnings.catch_warnings():
            warnings.simplefilter("ignore", irteq.IrteqWarning)
            return irteq.equate(**inputs, w2=w2, threads=1, tables=True)

    serial = [run(w2) for w2 in weights]
    with ThreadPoolExecutor(max_workers=8) as pool:
        pooled = list(pool.map(run, weights))
    for a, b in zip(pooled, serial):
        assert_equatings_identical(a, b)


def test_threads_of_one_run_change_no_bit():
    with warnings.catch_warnings():
        warnings.simplefilter("ignore", irteq.IrteqWarning)
        one = irteq.equate_files(LINKED / "control.txt", se=True, draws=10)
        three = irteq.equate_files(LINKED / "control.txt", se=True, draws=10, threads=3)
    assert_equatings_identical(one, three)


@pytest.mark.skipif(os.name != "posix", reason="needs SIGINT")
def test_ctrl_c_stops_the_draws_with_interrupted():
    # A draws run far longer than the signal's delay: Ctrl-C lands among the draws.
    timer = threading.Timer(0.5, os.kill, (os.getpid(), signal.SIGINT))
    timer.start()
    try:
        with pytest.raises(irteq.Interrupted) as caught:
            with warnings.catch_warnings():
                warnings.simplefilter("ignore", irteq.IrteqWarning)
                irteq.equate_files(LINKED / "control.txt", draws=1_000_000)
    finally:
        timer.cancel()
    assert isinstance(caught.value, KeyboardInterrupt)
    assert caught.value.code == "interrupted"
