# Threads of one equating change no result, and leave nothing behind that
# would trouble a fork: mclapply over equatings on two threads each gives what
# a serial loop on one thread gives.
test_that("equatings on two threads under mclapply equal a serial loop", {
  skip_on_os("windows")
  folder <- dirname(example_control())
  inputs <- suppressWarnings(list(
    x_items = read_items(file.path(folder, "formx.par")), y_items = read_items(file.path(folder, "formy.par")),
    x_grid = read_grid(file.path(folder, "group1.qd")), y_grid = read_grid(file.path(folder, "group2.qd")),
    scale = read_scale_table(file.path(folder, "formy.scl"))))
  run <- function(w2, threads) suppressWarnings(do.call(equate, c(inputs, w2 = w2, threads = threads)))
  # Threads in this process first: a fork afterwards must find none running.
  expect_identical(suppressWarnings(equate_files(example_control(), threads = 3)),
                   suppressWarnings(equate_files(example_control())), ignore_attr = "run")
  weights <- seq(0.1, 0.8, by = 0.1)
  serial <- lapply(weights, run, threads = 1L)
  expect_identical(parallel::mclapply(weights, run, threads = 2L, mc.cores = 2L), serial, ignore_attr = "run")
  expect_error(run(0.5, 0), "threads must be a positive whole number, not 0", class = "irteq_error")
  expect_error(run(0.5, 1.5), "threads must be a positive whole number, not 1.5", class = "irteq_error")
})
