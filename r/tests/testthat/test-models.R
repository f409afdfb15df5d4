# probabilities(), expected_scores() and tcc() are equate()'s own arithmetic.

test_that("tcc() at the root abilities gives the true score equivalents to the last bit", {
  eq <- equate_files(example_control())
  found <- !is.na(eq$true_score$theta)
  expect_gt(sum(found), 10)
  y_items <- read_items(file.path(dirname(example_control()), "formy.par"))
  expect_identical(tcc(y_items, eq$true_score$theta[found]), eq$true_score$equivalent[found])
})

test_that("expected scores weight the probabilities by the category scores, in category order", {
  form <- read_items(file.path(dirname(example_control()), "formx.par"))
  theta <- c(-2, 0.25, 1.5)
  p <- probabilities(form, theta)
  e <- expected_scores(form, theta)
  expect_identical(dim(p), c(3L, sum(form$categories)))
  expect_identical(colnames(e), as.character(form$item))
  item <- rep(seq_len(nrow(form)), form$categories)
  for (i in seq_len(nrow(form))) {
    columns <- which(item == i)
    for (t in seq_along(theta)) {
      sum <- 0
      for (k in seq_along(columns)) sum <- sum + form$scores[[i]][k] * p[[t, columns[k]]]
      expect_identical(e[[t, i]], unname(sum))
    }
  }
  expect_error(tcc(form, NA_real_), "theta is NA", class = "irteq_error_invalid_input")
})
