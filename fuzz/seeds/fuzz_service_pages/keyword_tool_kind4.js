Kvar historicalStartMonth = 1;var criteria = new Array();
criteria[0] = new kpCriterion('blue widgets', 'f1', '12,100', 'f3', 'f4', 'f5', '0.5', '$1.20', 'f8', '1 - 3', 'f10', 'f11', 'f12', 'f13', 'f14', 'f15', kpView.MATCH_BROAD);
criteria[1] = new kpCriterion('blue widget covers', 'f1', '50', 'f3', 'f4', 'f5', '0.1', '$0.20', 'f8', '2', 'f10', 'f11', 'f12', 'f13', 'f14', 'f15', kpView.MATCH_BROAD);
var group = new kpCriteriaGroup('Keywords related to term(s) entered', new kpCriterionList(criteria));
