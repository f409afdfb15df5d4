# Every generated case: equate_files() gives the console program's --csv values
# exactly, its tables (--tables) too, with its warnings; equate() on the inputs
# read into R, and on the inputs written back out by R, give the same result.
test_that("the generated cases give the console program's values, from files and from memory", {
  skip_if(!nzchar(cases_dir()) || !nzchar(binary()), "IRTEQ_CASES_DIR and IRTEQ_BINARY are not set")
  cases <- list.dirs(cases_dir(), recursive = FALSE)
  expect_gt(length(cases), 0, label = paste("cases in", cases_dir()))
  for (case in cases) {
    control <- copy_case(case)
    csv <- file.path(dirname(control), "csv")
    stderr <- suppressWarnings(system2(binary(), c(shQuote(control), "--csv", shQuote(csv), "--tables"),
                                       stdout = TRUE, stderr = TRUE))
    expect_null(attr(stderr, "status"), label = case)
    run <- with_warnings(equate_files(control, tables = TRUE))
    eq <- run$value
    expect_identical(run$warnings, sub("^irteq: warning: ", "", stderr), label = case)

    both <- read_numbers(file.path(csv, "equivalents.csv"))
    expect_identical(as.data.frame(eq), both, label = case)
    expect_identical(eq$distributions, read_numbers(file.path(csv, "distributions.csv"), "form"), label = case)
    expect_identical(eq$moments, read_numbers(file.path(csv, "moments.csv"), c("block", "group", "score")),
                     label = case)
    tables <- read_tables(csv)
    expect_identical(names(tables), c("conversion", "eap", "csem", "reliability"), label = case)
    expect_identical(eq$tables[names(tables)], tables, label = case)

    files <- read_control(control)
    inputs <- suppressWarnings(read_inputs(files))
    # A raw column off form Y's score points is a warning in files and in memory alike; rows pair by position.
    y_raw <- eq$distributions$raw[eq$distributions$form == "Y"]
    rows <- seq_len(min(nrow(inputs$scale$table), length(y_raw)))
    memory <- with_warnings(do.call(equate, c(inputs, tables = TRUE)))
    off <- !identical(as.numeric(inputs$scale$table$raw[rows]), y_raw[rows])
    expect_identical(any(grepl("^scale: row [0-9]+ gives raw score", memory$warnings)), off, label = case)
    expect_identical(memory$value, eq, label = case, ignore_attr = "run")
    inputs$scale$table$raw[rows] <- y_raw[rows]

    out <- tempfile("written")
    dir.create(out)
    write_items(inputs$x_items, file.path(out, "x.par"))
    write_items(inputs$y_items, file.path(out, "y.par"))
    write_grid(inputs$x_grid, file.path(out, "g1.qd"))
    write_grid(inputs$y_grid, file.path(out, "g2.qd"))
    write_scale_table(inputs$scale, file.path(out, "y.scl"))
    written <- write_control(c(output = "out.txt", old_para = "y.par", old_quad = "g2.qd", raw2scale = "y.scl",
                               new_para = "x.par", new_quad = "g1.qd"), file.path(out, "control.txt"))
    expect_identical(suppressWarnings(equate_files(written, tables = TRUE)), eq, label = case, ignore_attr = "run")
  }
})

test_that("the bundled example equates, prints, summarises and plots", {
  eq <- equate_files(example_control())
  expect_s3_class(eq, "irteq_equating")
  expect_identical(nrow(eq$true_score), 57L)
  expect_true(all(is.na(eq$true_score$theta[eq$true_score$raw <= 6])))
  expect_output(print(eq), "form X \\(raw 0 to 56\\) to form Y \\(raw 0 to 54\\)")
  expect_output(print(summary(eq)), "Largest differences")

  # The largest differences lie where an ability was searched, and are the largest there.
  d <- summary(eq)$differences
  t <- as.data.frame(eq)
  searched <- t[!is.na(t$theta), ]
  expect_identical(d$result, c("raw score equivalent", "scale score", "rounded scale score"))
  expect_true(all(d$raw_score %in% searched$raw))
  expect_identical(abs(d$difference), c(max(abs(searched$true_equivalent - searched$observed_equivalent)),
                                        max(abs(searched$true_scale - searched$observed_scale)),
                                        max(abs(searched$true_rounded - searched$observed_rounded))))
  expect_true(eq$chance_score > max(t$raw[is.na(t$theta) & t$raw < max(t$raw)]))

  file <- tempfile(fileext = ".png")
  if (capabilities("cairo")) grDevices::png(file, type = "cairo") else grDevices::pdf(NULL)
  on.exit(grDevices::dev.off())
  layout <- c("mar", "mgp", "las", "mfrow", "oma")
  old <- graphics::par(layout)
  for (which in c("equivalents", "differences", "distributions")) {
    for (metric in c("raw", "scale")) expect_silent(plot(eq, which = which, metric = metric))
  }
  expect_silent(plot(eq, main = "all three"))
  expect_identical(graphics::par(layout), old)
  expect_error(plot(eq, metric = "theta"), "should be one of")
})

test_that("failed root searches arrive as R warnings and in the result", {
  x <- items(c("L3", "L3", "SN"), list(0:1, 0:1, 0:2),
             list(c(1.7, 1, 0, 0.2), c(1.7, 1, 0.5, 0.2), c(1, 0, 20)))
  y <- items(c("L3", "SN"), list(0:1, 0:2), list(c(1.7, 1, 0, 0.2), c(1, -1, 1)))
  scale <- list(table = data.frame(raw = 0:3, scale = 0:3, rounded = 0:3), scale_min = 0, scale_max = 3, w2 = 0.5)
  expect_warning(eq <- equate(x, y, normal_grid(), normal_grid(), scale),
                 "form X raw score 3: root must be bracketed for zbrent; theta", class = "irteq_warning")
  expect_identical(eq$warnings$raw, 3)
  expect_identical(eq$warnings$problem, "not_bracketed")
})

test_that("without a scale table the equating reports form Y's raw scores, w2 given on its own", {
  folder <- dirname(example_control())
  inputs <- list(read_items(file.path(folder, "formx.par")), read_items(file.path(folder, "formy.par")),
                 read_grid(file.path(folder, "group1.qd")), read_grid(file.path(folder, "group2.qd")))
  eq <- do.call(equate, c(inputs, w2 = 0.5))
  expect_equal(eq$true_score$scale, eq$true_score$equivalent, tolerance = 1e-12)
  expect_identical(eq$observed_score$equivalent,
                   do.call(equate, c(inputs, list(read_scale_table(file.path(folder, "formy.scl")))))$observed_score$equivalent)
  expect_error(do.call(equate, inputs), "scale is missing: give form Y's raw-to-scale table, or w2", class = "irteq_error")
  expect_error(equate(inputs[[1]], inputs[[2]], inputs[[3]]), "^argument y_grid is missing", class = "irteq_error")
})
